// quillowbee-kit: makes an item of Quillowbee from a family's photos.
#include <getopt.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "kit/kit.h"
#include "kit/kit_error.h"
#include "platform/portable/path_resolution.h"

namespace fs = std::filesystem;

namespace {

constexpr char kProgram[] = "quillowbee-kit";

void PrintHelp() {
    std::printf(
        "Usage: %s --theme=THEME --position=N [--name=NAME] PHOTO...\n"
        "  or:  %s --theme=THEME --position=N --undo\n"
        "Make an item of Quillowbee from your own photos: its button in the theme's menu, a\n"
        "puzzle build-up and a film of slow pans and zooms over the photos.\n"
        "\n"
        "  --theme=THEME    Yrke, Musik, Sport or Djur\n"
        "  --position=N     the item's place in the theme's menu: 1-4 the top row from the\n"
        "                   left, 5-8 the bottom row\n"
        "  --name=NAME      the name on the item's button (letters of Western European\n"
        "                   languages; at most 40); without it the item keeps the\n"
        "                   name it has now\n"
        "  --content=DIR    the content folder to change (default:\n"
        "                   ${XDG_DATA_HOME:-~/.local/share}/Quillowbee); when it holds no\n"
        "                   content yet, the content in the current directory is copied there\n"
        "                   first, so the installed content is never changed\n"
        "  --undo           bring back the item the last run at THEME and N replaced\n"
        "      --no-check   leave out the program's content check of the folder afterwards\n"
        "      --help       show this help and exit\n"
        "      --version    show the version and exit\n"
        "\n"
        "PHOTO: JPEG (turned upright as the camera noted), PNG or HEIC, any size; up to 12.\n"
        "%s"
        "Example: %s --theme=Djur --position=3 --name=\"Mormors katt\" katt1.jpg katt2.jpg\n"
        "Exit status: 0 done, 1 failed (nothing changed), 2 wrong use.\n",
        kProgram, kProgram,
        QUILLOWBEE_HEIF ? "" : "HEIC photos need libheif, which this build lacks.\n", kProgram);
}

[[noreturn]] void Usage(const std::string& message) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help' for more information.\n", kProgram,
                 message.c_str(), kProgram);
    std::exit(2);
}

// Runs a program with arguments; its exit status (-1 when it could not run) and, with
// `output`, what it printed.
int Run(const std::vector<std::string>& arguments, std::string* output) {
    int pipeEnds[2] = {-1, -1};
    if (output != nullptr && ::pipe(pipeEnds) != 0) return -1;
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (output != nullptr) {
            ::dup2(pipeEnds[1], STDOUT_FILENO);
            ::close(pipeEnds[0]);
            ::close(pipeEnds[1]);
        }
        std::vector<char*> argv;
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (output != nullptr) {
        ::close(pipeEnds[1]);
        char buffer[4096];
        for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
            output->append(buffer, static_cast<size_t>(n));
        }
        ::close(pipeEnds[0]);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// The program's content check on the folder, when the program beside the kit has one.
// Returns false only when the check ran and found a fault.
bool CheckContent(const fs::path& content) {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error).parent_path() / "quillowbee";
    std::string help;
    if (error || !fs::exists(program) || Run({program.string(), "--help"}, &help) != 0 ||
        help.find("--check") == std::string::npos) {
        std::printf(
            "The content check was skipped: the quillowbee program beside the kit has "
            "no --check.\n");
        return true;
    }
    std::fflush(stdout);
    return Run({program.string(), "--check", content.string()}, nullptr) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    kit::KitOptions options;
    bool undo = false;
    bool havePosition = false;
    bool check = true;
    enum { kTheme = 1000, kPosition, kName, kContent, kUndo, kNoCheck, kHelp, kVersion };
    const option longOptions[] = {
        {"theme", required_argument, nullptr, kTheme},
        {"position", required_argument, nullptr, kPosition},
        {"name", required_argument, nullptr, kName},
        {"content", required_argument, nullptr, kContent},
        {"undo", no_argument, nullptr, kUndo},
        {"no-check", no_argument, nullptr, kNoCheck},
        {"help", no_argument, nullptr, kHelp},
        {"version", no_argument, nullptr, kVersion},
        {nullptr, 0, nullptr, 0},
    };
    opterr = 0;
    for (int c; (c = getopt_long(argc, argv, "", longOptions, nullptr)) != -1;) {
        switch (c) {
            case kTheme:
                options.theme = optarg;
                break;
            case kPosition: {
                char* end = nullptr;
                const long n = std::strtol(optarg, &end, 10);
                if (*optarg == '\0' || *end != '\0' || n < 1 || n > 8) {
                    Usage(std::string("--position wants a number from 1 to 8, not '") + optarg +
                          "'");
                }
                options.position = static_cast<int>(n);
                havePosition = true;
                break;
            }
            case kName:
                if (*optarg == '\0') {
                    Usage(
                        "--name is empty: give the item a name, or leave --name out to keep "
                        "the one it has");
                }
                options.name = optarg;
                break;
            case kContent:
                options.content = fs::absolute(optarg);
                break;
            case kUndo:
                undo = true;
                break;
            case kNoCheck:
                check = false;
                break;
            case kHelp:
                PrintHelp();
                return 0;
            case kVersion:
                std::printf("%s (Quillowbee) %s\n", kProgram, QUILLOWBEE_VERSION);
                return 0;
            default:
                Usage(std::string("unknown option '") + argv[optind - 1] + "'");
        }
    }
    for (int i = optind; i < argc; ++i) options.photos.emplace_back(argv[i]);
    if (options.theme.empty()) Usage("no theme: give --theme=Yrke, Musik, Sport or Djur");
    if (!havePosition) Usage("no position: give --position=1 to 8");
    if (undo && !options.photos.empty()) Usage("--undo takes no photos");
    if (!undo && options.photos.empty())
        Usage("no photo: name one or more JPEG, PNG or HEIC photos");

    try {
        const kit::KitResult result = undo ? kit::UndoItem(options) : kit::MakeItem(options);
        if (result.copiedContent) {
            std::printf("Copied the content to %s first.\n", result.content.string().c_str());
        }
        const bool checked = !check || CheckContent(result.content);
        const std::string folder = platform::Windows1252ToUtf8(result.folderText);
        std::printf("%s item %d (%s position %d) in %s: %s\n", undo ? "Brought back" : "Made",
                    result.item, options.theme.c_str(), options.position,
                    result.content.string().c_str(), result.itemFolder.string().c_str());
        std::printf("Its record's folder is %s. Start quillowbee in %s to see it.\n",
                    folder.c_str(), result.content.string().c_str());
        if (!checked) {
            std::fprintf(stderr,
                         "%s: the content check found a fault (above); '%s --undo' "
                         "brings the old item back\n",
                         kProgram, kProgram);
            return 1;
        }
        return 0;
    } catch (const kit::KitError& e) {
        std::fprintf(stderr, "%s: %s\n", kProgram, e.what());
        return e.GetKind() == kit::KitError::Kind::Usage ? 2 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s; nothing was changed\n", kProgram, e.what());
        return 1;
    }
}
