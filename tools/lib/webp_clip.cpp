#include "tools/webp_clip.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <cstdio>

namespace clip {

namespace {

constexpr float kQuality = 55.0f;  // libwebp's 0-100 lossy quality
constexpr int kMethod = 0;         // libwebp's 0 (fastest) - 6 (smallest) effort

}  // namespace

struct WebpWriter::Encoder {
    WebPAnimEncoder* encoder = nullptr;
    WebPConfig config{};
    int width = 0, height = 0;
    int frames = 0;

    ~Encoder() {
        if (encoder) WebPAnimEncoderDelete(encoder);
    }
};

WebpWriter::WebpWriter() : encoder_(std::make_unique<Encoder>()) {}
WebpWriter::~WebpWriter() = default;

bool WebpWriter::open(int width, int height) {
    Encoder& e = *encoder_;
    e.width = width, e.height = height;
    WebPAnimEncoderOptions options;
    if (!WebPAnimEncoderOptionsInit(&options) || !WebPConfigInit(&e.config)) return false;
    options.kmin = 0;
    options.kmax = 1;  // every frame a key frame
    options.allow_mixed = 0;
    options.anim_params.loop_count = 0;
    e.config.quality = kQuality;
    e.config.method = kMethod;
    e.config.segments = 1;  // flat-shaded frames gain little from more
    e.config.sns_strength = 0;
    e.encoder = WebPAnimEncoderNew(width, height, &options);
    return e.encoder != nullptr;
}

void WebpWriter::add(const unsigned char* rgb, int timestampMs) {
    Encoder& e = *encoder_;
    if (!e.encoder || failed) return;
    WebPPicture picture;
    if (!WebPPictureInit(&picture)) {
        failed = true;
        return;
    }
    picture.width = e.width, picture.height = e.height;
    picture.use_argb = 1;  // the animation encoder works in ARGB: no second conversion
    if (!WebPPictureImportRGB(&picture, rgb, e.width * 3) || !WebPAnimEncoderAdd(e.encoder, &picture, timestampMs, &e.config))
        failed = true;
    WebPPictureFree(&picture);
    ++e.frames;
}

bool WebpWriter::finish(const std::string& path, int endMs) {
    Encoder& e = *encoder_;
    if (!e.encoder) return false;
    WebPData data;
    WebPDataInit(&data);
    bool ok = !failed && e.frames > 0 && WebPAnimEncoderAdd(e.encoder, nullptr, endMs, nullptr) &&
              WebPAnimEncoderAssemble(e.encoder, &data);
    if (ok) {
        FILE* f = std::fopen(path.c_str(), "wb");
        ok = f && std::fwrite(data.bytes, 1, data.size, f) == data.size;
        if (f) ok = std::fclose(f) == 0 && ok;
    }
    WebPDataClear(&data);
    WebPAnimEncoderDelete(e.encoder);
    e.encoder = nullptr;
    return ok;
}

}  // namespace clip
