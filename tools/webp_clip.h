// An animated WebP written frame by frame with libwebp's animation encoder:
// lossy frames, each a key frame (the camera moves, so nearly every pixel
// changes and sub-frame diffing would only cost time), looped forever.
#pragma once
#include <memory>
#include <string>

namespace clip {

class WebpWriter {
public:
    WebpWriter();
    ~WebpWriter();

    bool open(int width, int height);
    // Adds an RGB frame (width x height x 3 bytes) shown from timestampMs on.
    void add(const unsigned char* rgb, int timestampMs);
    // Ends the clip at endMs and writes it; false when anything failed.
    bool finish(const std::string& path, int endMs);

    bool failed = false;  // a frame could not be drawn or encoded

private:
    struct Encoder;
    std::unique_ptr<Encoder> encoder_;
};

}  // namespace clip
