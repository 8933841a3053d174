#include "skin/formats/jpeg_reader.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

namespace kavlo {

namespace {

// libjpeg memory for its own tables and buffers; a progressive picture that would need more fails
// instead of growing without bound.
constexpr long kMaxDecoderMemory = 256L * 1024 * 1024;

// Everything the decode touches after setjmp lives here, on the heap and reachable through cinfo, so
// a longjmp out of libjpeg never finds a C++ object half-updated in a register of our frame.
struct Decode {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    std::jmp_buf jump{};
    std::string message;
    std::vector<uint8_t> row;
    std::vector<uint32_t> top_down; // decoded rows, top row first
};

Decode& StateOf(j_common_ptr cinfo) {
    return *static_cast<Decode*>(cinfo->client_data);
}

// libjpeg's default reaction to a fatal error is to end the process.
[[noreturn]] void OnError(j_common_ptr cinfo) {
    Decode& state = StateOf(cinfo);
    char text[JMSG_LENGTH_MAX] = {};
    (*cinfo->err->format_message)(cinfo, text);
    state.message = std::string("JPEG error: ") + text;
    std::longjmp(state.jump, 1);
}

// libjpeg pads a truncated picture with grey and calls it a warning; a cut-off file is an error here.
void OnMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
        StateOf(cinfo).message = "The JPEG data is truncated";
        std::longjmp(StateOf(cinfo).jump, 1);
    }
}

uint32_t Opaque(uint32_t r, uint32_t g, uint32_t b) {
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

// Rows arrive as RGB, grey or (Adobe's inverted) CMYK; the surface wants 0xAARRGGBB words.
void ConvertRow(const jpeg_decompress_struct& cinfo, const uint8_t* in, uint32_t* out) {
    for (JDIMENSION x = 0; x < cinfo.output_width; ++x) {
        switch (cinfo.out_color_space) {
            case JCS_GRAYSCALE:
                out[x] = Opaque(in[x], in[x], in[x]);
                break;
            case JCS_CMYK: {
                const uint8_t* p = in + x * 4;
                out[x] = Opaque(p[0] * p[3] / 255, p[1] * p[3] / 255, p[2] * p[3] / 255);
                break;
            }
            default: {
                const uint8_t* p = in + x * 3;
                out[x] = Opaque(p[0], p[1], p[2]);
                break;
            }
        }
    }
}

void ChooseOutput(jpeg_decompress_struct& cinfo) {
    switch (cinfo.jpeg_color_space) {
        case JCS_GRAYSCALE:
            cinfo.out_color_space = JCS_GRAYSCALE;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            cinfo.out_color_space = JCS_CMYK;
            break;
        default:
            cinfo.out_color_space = JCS_RGB;
            break;
    }
}

// Runs under setjmp: every libjpeg call that can fail.
void DecodeRows(Decode& state, std::string_view bytes, PixelBudget* budget) {
    jpeg_decompress_struct& cinfo = state.cinfo;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    state.message = CheckPictureSize(cinfo.image_width, cinfo.image_height);
    if (!state.message.empty()) {
        return;
    }
    if (budget != nullptr && !budget->Take(int64_t{cinfo.image_width} * cinfo.image_height)) {
        state.message = budget->Refusal();
        return;
    }
    ChooseOutput(cinfo);
    jpeg_start_decompress(&cinfo);
    state.row.resize(static_cast<size_t>(cinfo.output_width) * cinfo.output_components);
    // Rows are added as they are decoded, so memory follows the data actually present.
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = state.row.data();
        jpeg_read_scanlines(&cinfo, &row, 1);
        const size_t at = state.top_down.size();
        state.top_down.resize(at + cinfo.output_width);
        ConvertRow(cinfo, state.row.data(), state.top_down.data() + at);
    }
    jpeg_finish_decompress(&cinfo);
}

Picture BottomUp(const Decode& state) {
    Picture picture;
    picture.width = static_cast<uint16_t>(state.cinfo.output_width);
    picture.height = static_cast<uint16_t>(state.cinfo.output_height);
    picture.pixels.resize(state.top_down.size());
    const size_t width = picture.width;
    for (size_t y = 0; y < picture.height; ++y) {
        std::copy_n(state.top_down.begin() + static_cast<ptrdiff_t>(y * width), width,
                    picture.pixels.begin() + static_cast<ptrdiff_t>((picture.height - 1 - y) * width));
    }
    return picture;
}

} // namespace

PictureResult ReadJpeg(std::string_view bytes, PixelBudget* budget) {
    const auto state = std::make_unique<Decode>();
    state->cinfo.err = jpeg_std_error(&state->errors);
    state->errors.error_exit = OnError;
    state->errors.emit_message = OnMessage;
    state->cinfo.client_data = state.get();
    if (setjmp(state->jump) != 0) {
        jpeg_destroy_decompress(&state->cinfo);
        return PictureResult::Fail(state->message);
    }
    jpeg_create_decompress(&state->cinfo);
    state->cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
    DecodeRows(*state, bytes, budget);
    jpeg_destroy_decompress(&state->cinfo);
    if (!state->message.empty()) {
        return PictureResult::Fail(state->message);
    }
    return {BottomUp(*state), {}};
}

} // namespace kavlo
