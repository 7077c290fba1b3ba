#include "command_line/command_line.h"

#include <string_view>
#include <vector>

namespace CommandLine {

namespace {

Request Misuse(std::string what) {
    Request request;
    request.action = Action::Misuse;
    request.misuse = std::move(what);
    return request;
}

}  // namespace

Request Read(int argc, const char* const* argv) {
    Request request;
    bool check = false;
    std::optional<std::string> content;
    std::vector<std::string> operands;
    bool fullscreen = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "--version") {
            // Answered whatever else the line holds, as GNU programs do.
            Request answer;
            answer.action = arg == "--help" ? Action::Help : Action::Version;
            return answer;
        }
        if (arg == "--windowed") {
            request.presentation.windowed = true;
        } else if (arg == "--fullscreen") {
            fullscreen = true;
        } else if (arg == "--settings") {
            request.editing = true;
        } else if (arg == "--renderer=software") {
            request.presentation.renderer = platform::RendererChoice::Software;
        } else if (arg == "--renderer=accelerated") {
            request.presentation.renderer = platform::RendererChoice::Accelerated;
        } else if (arg == "--check") {
            check = true;
        } else if (arg.starts_with("--content=")) {
            content = std::string(arg.substr(10));
        } else if (arg == "--content") {
            if (i + 1 == argc) {
                return Misuse("option '--content' needs a folder");
            }
            content = argv[++i];
        } else if (arg == "--") {
            for (++i; i < argc; ++i) {
                operands.emplace_back(argv[i]);
            }
        } else if (arg.starts_with("--") && arg.size() > 2) {
            request.settingOptions.emplace_back(arg);
        } else if (arg.starts_with("-") && arg != "-") {
            return Misuse("unknown option '" + std::string(arg) + "'");
        } else {
            operands.emplace_back(arg);
        }
    }
    if (content && content->empty()) {
        return Misuse("option '--content' needs a folder");
    }
    if (!check && !operands.empty()) {
        return Misuse("unexpected argument '" + operands.front() + "'");
    }
    if (operands.size() > 1) {
        return Misuse("--check takes one folder, not '" + operands[1] + "' as well");
    }
    if (check) {
        request.action = Action::Check;
    }
    // The editing mode opens in a window unless the whole screen is asked for.
    if (fullscreen) {
        request.presentation.windowed = false;
    } else if (request.editing) {
        request.presentation.windowed = true;
    }
    request.contentFolder = operands.empty() ? content : operands.front();
    if (!operands.empty() && content && *content != operands.front()) {
        return Misuse("--check DIR and --content=DIR name two different folders");
    }
    return request;
}

}  // namespace CommandLine
