#include "sim/world/feed.h"

#include "sim/sim.h"
#include "sim/world/draw.h"

namespace sim {

FeedModel feed;

bool feedCommandOpen() { return feed.open; }
void addFeedComponent(const char* text) { feed.building.text += text; }

namespace {
const FrameStep endFrame(Phase::AfterScripts, -90, [] {
    if (feed.open) fail("a notification was begun but never posted");
});
}  // namespace

SIM_NATIVE(native::kBeginTextCommandThefeedPost) {
    if (feed.open || draws.textCommandOpen) fail("BEGIN_TEXT_COMMAND_THEFEED_POST inside another text command");
    feed.open = true;
    feed.building = Notification{frameIndex(), call.s(0) ? call.s(0) : "", "", false};
}
SIM_NATIVE(native::kEndTextCommandThefeedPostTicker) {
    if (!feed.open) fail("END_TEXT_COMMAND_THEFEED_POST_TICKER without a BEGIN");
    feed.open = false;
    feed.building.blink = call.b(0);
    feed.posted.push_back(std::move(feed.building));
    call.ret(static_cast<int32_t>(feed.posted.size()));  // the feed entry's id
}

}  // namespace sim
