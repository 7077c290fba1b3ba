#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/sdl/presentation_options.h"

// The program's command line, read the GNU way: long options, "--content DIR" or
// "--content=DIR", and one operand, the folder of --check.
namespace CommandLine {

enum class Action { Run, Check, Help, Version, Misuse };

struct Request {
    Action action = Action::Run;
    platform::PresentationOptions presentation;
    std::optional<std::string> contentFolder;  // --content, or the operand of --check
    bool editing = false;                      // --settings: the choices screen's editing mode
    // Every other long option, in order: the settings' options ("--key-delay=1000"), checked
    // against the settings' table once the content (and so the items' names) is at hand.
    std::vector<std::string> settingOptions;
    std::string misuse;  // what was wrong, for Action::Misuse
};

Request Read(int argc, const char* const* argv);

}  // namespace CommandLine
