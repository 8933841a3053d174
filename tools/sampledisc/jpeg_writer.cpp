#include "sampledisc/jpeg_writer.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace kavlo::sample {

namespace {

// What the encode touches after setjmp lives on the heap, reachable through cinfo, so a longjmp out
// of libjpeg leaves no C++ object of our frame half-updated.
struct Encode {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    std::jmp_buf jump{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> row;
};

// libjpeg's default reaction to a fatal error is to end the process.
[[noreturn]] void OnError(j_common_ptr cinfo) {
    std::longjmp(static_cast<Encode*>(cinfo->client_data)->jump, 1);
}

void EncodeRows(Encode& state, const std::vector<uint32_t>& pixels, int width, int height, int quality) {
    jpeg_compress_struct& cinfo = state.cinfo;
    jpeg_mem_dest(&cinfo, &state.buffer, &state.size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.dct_method = JDCT_ISLOW;
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    state.row.resize(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        const uint32_t* in = pixels.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < width; ++x) {
            state.row[x * 3] = static_cast<uint8_t>(in[x] >> 16);
            state.row[x * 3 + 1] = static_cast<uint8_t>(in[x] >> 8);
            state.row[x * 3 + 2] = static_cast<uint8_t>(in[x]);
        }
        JSAMPROW pointer = state.row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
}

} // namespace

std::optional<std::string> EncodeJpeg(const skingen::Canvas& canvas, int quality) {
    const std::vector<uint32_t> pixels = canvas.TopDown();
    const auto state = std::make_unique<Encode>();
    state->cinfo.err = jpeg_std_error(&state->errors);
    state->errors.error_exit = OnError;
    state->cinfo.client_data = state.get();
    std::optional<std::string> bytes;
    if (setjmp(state->jump) == 0) {
        jpeg_create_compress(&state->cinfo);
        EncodeRows(*state, pixels, canvas.Width(), canvas.Height(), quality);
        bytes.emplace(reinterpret_cast<const char*>(state->buffer), state->size);
    }
    jpeg_destroy_compress(&state->cinfo);
    std::free(state->buffer);
    return bytes;
}

} // namespace kavlo::sample
