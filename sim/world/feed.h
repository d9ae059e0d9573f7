// The game's notification feed: tickers posted by scripts, in order.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct Notification {
    uint32_t frame;
    std::string format;  // the label the post began with ("STRING")
    std::string text;    // its components, joined
    bool blink;
};

struct FeedModel {
    std::vector<Notification> posted;
    bool open = false;  // between BEGIN_TEXT_COMMAND_THEFEED_POST and the post
    Notification building;
};
extern FeedModel feed;

bool feedCommandOpen();
void addFeedComponent(const char* text);  // the text component native, while a post is open

}  // namespace sim
