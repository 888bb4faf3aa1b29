#include "common/send_fax_form/jpeg_picture.h"

#include <csetjmp>
#include <cstdio>

extern "C" {
#include <jpeglib.h>
}

namespace tolvane {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    std::longjmp(errors->jump, 1);
}

void SilentMessage(j_common_ptr) {}

// A source manager over memory: the 6b interface has no jpeg_mem_src.
void InitSource(j_decompress_ptr) {}
boolean FillInputBuffer(j_decompress_ptr info) {
    // Past the end: feed an end-of-image marker so libjpeg stops with a warning.
    static const JOCTET kEndOfImage[2] = {0xFF, JPEG_EOI};
    info->src->next_input_byte = kEndOfImage;
    info->src->bytes_in_buffer = 2;
    return TRUE;
}
void SkipInputData(j_decompress_ptr info, long count) {
    if (count <= 0) return;
    while (static_cast<std::size_t>(count) > info->src->bytes_in_buffer) {
        count -= static_cast<long>(info->src->bytes_in_buffer);
        FillInputBuffer(info);
    }
    info->src->next_input_byte += count;
    info->src->bytes_in_buffer -= static_cast<std::size_t>(count);
}
void TermSource(j_decompress_ptr) {}

// Everything the longjmp may cross is plain data owned by the caller.
bool Decode(std::span<const std::uint8_t> data, int maxSide, DecodedPicture& picture) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_source_mgr source{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ErrorExit;
    errors.base.output_message = SilentMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    source.init_source = InitSource;
    source.fill_input_buffer = FillInputBuffer;
    source.skip_input_data = SkipInputData;
    source.resync_to_restart = jpeg_resync_to_restart;
    source.term_source = TermSource;
    source.next_input_byte = data.data();
    source.bytes_in_buffer = data.size();
    info.src = &source;

    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    if (width <= 0 || height <= 0 || width > maxSide || height > maxSide || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    picture.width = width;
    picture.height = height;
    picture.stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    picture.bgr.assign(picture.stride * static_cast<std::size_t>(height), 0);
    picture.bgr.resize(picture.bgr.size() + static_cast<std::size_t>(width) * 3);  // one row of scratch
    JSAMPLE* scratch = picture.bgr.data() + picture.stride * static_cast<std::size_t>(height);
    while (info.output_scanline < info.output_height) {
        const auto row = info.output_scanline;
        JSAMPROW rows[1] = {scratch};
        jpeg_read_scanlines(&info, rows, 1);
        std::uint8_t* out = picture.bgr.data() + picture.stride * row;
        for (int x = 0; x < width; ++x) {
            out[3 * x + 0] = scratch[3 * x + 2];
            out[3 * x + 1] = scratch[3 * x + 1];
            out[3 * x + 2] = scratch[3 * x + 0];
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    picture.bgr.resize(picture.stride * static_cast<std::size_t>(height));
    return true;
}

}  // namespace

std::optional<DecodedPicture> DecodeJpeg(std::span<const std::uint8_t> data, int maxSide) {
    if (data.empty()) return std::nullopt;
    DecodedPicture picture;
    if (!Decode(data, maxSide, picture)) return std::nullopt;
    return picture;
}

}  // namespace tolvane
