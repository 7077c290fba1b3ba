#pragma once

#include <optional>
#include <string>

#include "platform/sdl/presentation_options.h"

// The program's command line, read the GNU way: long options, "--content DIR" or
// "--content=DIR", and one operand, the folder of --check.
namespace CommandLine {

enum class Action { Run, Check, Help, Version, Misuse };

struct Request {
    Action action = Action::Run;
    platform::PresentationOptions presentation;
    std::optional<std::string> contentFolder;  // --content, or the operand of --check
    std::string misuse;                        // what was wrong, for Action::Misuse
};

Request Read(int argc, const char* const* argv);

}  // namespace CommandLine
