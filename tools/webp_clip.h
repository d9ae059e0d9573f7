// An animated WebP written frame by frame with libwebp's animation encoder:
// lossy frames, each a key frame (the camera moves, so nearly every pixel
// changes and sub-frame diffing would only cost time), looped forever.
#pragma once
#include <webp/encode.h>
#include <webp/mux.h>

#include <cstdio>
#include <string>

namespace clip {

constexpr float kQuality = 55.0f;  // libwebp's 0-100 lossy quality
constexpr int kMethod = 0;         // libwebp's 0 (fastest) - 6 (smallest) effort

struct WebpWriter {
    WebPAnimEncoder* encoder = nullptr;
    WebPConfig config{};
    int width = 0, height = 0;
    int frames = 0;
    bool failed = false;

    bool open(int w, int h) {
        width = w, height = h;
        WebPAnimEncoderOptions options;
        if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&config)) return false;
        options.kmin = 0;
        options.kmax = 1;  // every frame a key frame
        options.allow_mixed = 0;
        options.anim_params.loop_count = 0;
        config.quality = kQuality;
        config.method = kMethod;
        config.segments = 1;       // flat-shaded frames gain little from more
        config.sns_strength = 0;
        encoder = WebPAnimEncoderNew(w, h, &options);
        return encoder != nullptr;
    }
    // Adds an RGB frame (width x height x 3 bytes) shown from timestampMs on.
    void add(const unsigned char* rgb, int timestampMs) {
        if (!encoder || failed) return;
        WebPPicture picture;
        if (!WebPPictureInit(&picture)) {
            failed = true;
            return;
        }
        picture.width = width, picture.height = height;
        picture.use_argb = 1;  // the animation encoder works in ARGB: no second conversion
        if (!WebPPictureImportRGB(&picture, rgb, width * 3) || !WebPAnimEncoderAdd(encoder, &picture, timestampMs, &config))
            failed = true;
        WebPPictureFree(&picture);
        ++frames;
    }
    // Ends the clip at endMs and writes it; false when anything failed.
    bool finish(const std::string& path, int endMs) {
        if (!encoder) return false;
        WebPData data;
        WebPDataInit(&data);
        bool ok = !failed && frames > 0 && WebPAnimEncoderAdd(encoder, nullptr, endMs, nullptr) &&
                  WebPAnimEncoderAssemble(encoder, &data);
        if (ok) {
            FILE* f = std::fopen(path.c_str(), "wb");
            ok = f && std::fwrite(data.bytes, 1, data.size, f) == data.size;
            if (f) ok = std::fclose(f) == 0 && ok;
        }
        WebPDataClear(&data);
        WebPAnimEncoderDelete(encoder);
        encoder = nullptr;
        return ok;
    }
};

}  // namespace clip
