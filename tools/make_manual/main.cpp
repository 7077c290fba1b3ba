// quillowbee-make-manual VERSION DATE OUTPUT: writes the manual page quillowbee(6) from the text
// of the program's --help.
#include <cstdio>
#include <fstream>

#include "command_line/usage_text.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s VERSION DATE OUTPUT\n", argv[0]);
        return 2;
    }
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    out << UsageText::ManualPage(argv[1], argv[2]);
    if (!out.flush()) {
        std::fprintf(stderr, "quillowbee-make-manual: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
