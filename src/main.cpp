// Replaced by the SDL start-up in the platform work.
int main() { return 1; }
