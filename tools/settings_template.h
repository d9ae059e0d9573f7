// The plug-in's settings code against a scratch game folder in the simulator:
// the template as the plug-in writes it, so that the file in the release zip
// and the template column of the settings reference have one source, and the
// file it leaves after a change.
#pragma once
#include <functional>
#include <string>

namespace templatefile {

// Runs body with the simulator's game folder in a fresh scratch folder and
// the settings file's path built for it, then removes the folder: body's
// result, false when the folder cannot be made. One plug-in per process.
bool inScratchGameFolder(const std::function<bool()>& body);

// The plug-in's first start in a scratch game folder (it writes its
// template), then change(), then the settings file as left there; "" when the
// folder cannot be made or change() returns false.
std::string writtenAfter(const std::function<bool()>& change);

// The template itself.
std::string bytes();

// The value text of a key in the template, or "" when it has no line for it.
std::string value(const std::string& text, const std::string& key);

}  // namespace templatefile
