// The demo: plays sessions against the real plug-in in the simulator, one
// process per session run, as many at once as there are cores, and writes the
// report (tools/report.h) with a per-frame CSV trace per run and a clip per
// session.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace demo {

// Every bundled session (sessionsDir/*.zvs), the full report into out.
int all(const std::filesystem::path& sessionsDir, const std::filesystem::path& out);
// One session of the player's own, into outRoot/NAME/.
int oneSession(const std::filesystem::path& file, const std::filesystem::path& outRoot);
// The bundled sessions with a player's settings file against the defaults, into outRoot/ini-NAME/.
int withSettingsFile(const std::filesystem::path& ini, const std::filesystem::path& sessionsDir,
                     const std::filesystem::path& outRoot);

// One session run, in the process of its own that the three above start:
//   --play FILE CSV [--clip OUT.webp] [--clip-from S] [--clip-to S] [--fps N] [--ideal-clock] [--ini FILE] [--no-set]
// plays FILE and writes its trace to CSV (and its clip).
int playSession(const std::vector<std::string>& args);

// The sessions in a folder (its *.zvs files) in name order, and their names
// (the file names without .zvs).
std::vector<std::filesystem::path> bundledSessions(const std::filesystem::path& dir);
std::vector<std::string> namesOf(const std::vector<std::filesystem::path>& files);

}  // namespace demo
