#include "common/send_fax_form/win32/header_picture.h"

#include <cstring>
#include <span>

#include "common/send_fax_form/jpeg_picture.h"
#include "common/send_fax_form/win32/send_fax_form_ids.h"

namespace tolvane {

namespace {

std::span<const std::uint8_t> ResourceBytes(HMODULE module) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_HEADER_JPEG), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return {static_cast<const std::uint8_t*>(data), SizeofResource(module, found)};
}

}  // namespace

HBITMAP LoadHeaderPicture(HINSTANCE resources) {
    auto bytes = ResourceBytes(resources);
    if (bytes.empty()) bytes = ResourceBytes(GetModuleHandleW(nullptr));
    const auto picture = DecodeJpeg(bytes);
    if (!picture) return nullptr;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture->width;
    info.bmiHeader.biHeight = -picture->height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) return nullptr;
    std::memcpy(bits, picture->bgr.data(), picture->bgr.size());
    return bitmap;
}

}  // namespace tolvane
