// What the screenshot tools share: a session played through the simulator,
// each of its "shot" steps written as a PNG into the output folder.
//   TOOL SESSION.zvs OUTPUT_DIR
#pragma once
#include <string>

#include "sim/world/projection.h"

namespace shots {

// Writes the screen of the frame just played to path: "" when written,
// otherwise why not (which stops the session).
using Render = std::string (*)(const std::string& path);

// Plays the session the command line names, with every setting at its Reset
// All value after the start-up load (whatever the template held) and then
// the session's own "set" steps, each shot through render into the output
// folder it names: the tool's exit status, 2 after the usage line when the
// command line is wrong, 1 when the session or a shot fails.
int play(int argc, char** argv, Render render);

// Writes the last frame's drawing as a PNG (over the world seen through view,
// when given): "" when written, otherwise why not.
std::string writePng(const std::string& path, const sim::ViewPose* view = nullptr);

}  // namespace shots
