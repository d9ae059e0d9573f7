// What the screenshot tools share: the output folder from the command line,
// the plug-in booted in the simulator with every setting at its default, and
// the frame just played written as a PNG.
//   TOOL OUTPUT_DIR
#pragma once
#include <string>

#include "sim/world/projection.h"

namespace shots {

// Makes the output folder argv names and boots the plug-in with every setting
// at its default, whatever the settings file held; false after the usage line
// when the command line names no folder.
bool begin(int argc, char** argv);

// Writes the screen of the last frame as NAME in the output folder (given the
// view it was rendered through, with the world behind the drawing): its path,
// or "" when it could not be written, which counts as a failure.
std::string write(const char* name, const sim::ViewPose* view = nullptr);

void fail();      // counts a shot that went wrong in another way
int exitStatus();  // 0 when no shot failed

}  // namespace shots
