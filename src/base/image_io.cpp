#include "base/image_io.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <stb_image.h>

#include "base/atomic_file.h"

namespace vallorn {
namespace {

// libjpeg reports fatal errors through error_exit, which by default ends the process. This
// manager jumps back to the caller instead and keeps the library's text for the message.
struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void OnJpegMessage(j_common_ptr) {}  // warnings are not printed

// Sets up `err` for a compressor or decompressor (cinfo.err = CatchJpegErrors(err)): fatal
// errors jump to the caller's setjmp(err.jump) with their text, warnings are dropped.
jpeg_error_mgr* CatchJpegErrors(JpegError& err) {
    jpeg_error_mgr* mgr = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = OnJpegError;
    err.mgr.output_message = OnJpegMessage;
    err.message[0] = 0;
    return mgr;
}

void SetError(std::string* error, const std::string& text) {
    if (error) *error = text;
}

// Decodes `data`; with `headerOnly` stops after the header. Returns false with the library's
// message in `message`. Only trivially destructible locals live across the setjmp.
bool Decode(const std::string& data, bool headerOnly, TSKIImage* out, int& width, int& height,
            char* message) {
    jpeg_decompress_struct cinfo;
    JpegError err;
    cinfo.err = CatchJpegErrors(err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::strncpy(message, err.message, JMSG_LENGTH_MAX);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.data()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    width = int(cinfo.image_width);
    height = int(cinfo.image_height);
    if (headerOnly) {
        jpeg_destroy_decompress(&cinfo);
        return true;
    }
    // A small file can claim a huge picture: refused before its pixels are allocated.
    if (width > kMaxImageSide || height > kMaxImageSide) {
        jpeg_destroy_decompress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "a picture of %d x %d is larger than %d x %d",
                      width, height, kMaxImageSide, kMaxImageSide);
        return false;
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3) {
        jpeg_destroy_decompress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "unsupported colour layout");
        return false;
    }
    out->Resize(int(cinfo.output_width), int(cinfo.output_height));
    uint8_t* base = out->Pixels().data();
    const size_t stride = size_t(cinfo.output_width) * 3;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = base + size_t(cinfo.output_scanline) * stride;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool Encode(const TSKIImage& image, int quality, unsigned char** buffer, unsigned long* size,
            char* message) {
    jpeg_compress_struct cinfo;
    JpegError err;
    cinfo.err = CatchJpegErrors(err);
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::strncpy(message, err.message, JMSG_LENGTH_MAX);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, buffer, size);
    cinfo.image_width = JDIMENSION(image.Width());
    cinfo.image_height = JDIMENSION(image.Height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const uint8_t* base = image.Pixels().data();
    const size_t stride = size_t(image.Width()) * 3;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(base + size_t(cinfo.next_scanline) * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

bool LoadJpeg(const std::filesystem::path& path, TSKIImage& out, std::string* error) {
    std::string data;
    if (!ReadWholeFile(path, data, error, kMaxImageFileBytes)) {
        out = TSKIImage();
        return false;
    }
    char message[JMSG_LENGTH_MAX] = {0};
    int w = 0, h = 0;
    if (data.empty() || !Decode(data, false, &out, w, h, message)) {
        SetError(error, "cannot read JPEG " + path.string() + ": " +
                            (data.empty() ? "empty file" : message));
        out = TSKIImage();
        return false;
    }
    return true;
}

bool JpegSize(const std::filesystem::path& path, int& width, int& height, std::string* error) {
    std::string data;
    if (!ReadWholeFile(path, data, error, kMaxImageFileBytes)) return false;
    char message[JMSG_LENGTH_MAX] = {0};
    int w = 0, h = 0;
    if (data.empty() || !Decode(data, true, nullptr, w, h, message)) {
        SetError(error, "cannot read JPEG " + path.string() + ": " +
                            (data.empty() ? "empty file" : message));
        return false;
    }
    width = w;
    height = h;
    return true;
}

bool SaveJpeg(const std::filesystem::path& path, const TSKIImage& image, int quality,
              std::string* error) {
    if (image.Empty()) {
        SetError(error, "cannot write " + path.string() + ": the image is empty");
        return false;
    }
    if (quality < 1) quality = 1;
    if (quality > 100) quality = 100;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    char message[JMSG_LENGTH_MAX] = {0};
    const bool encoded = Encode(image, quality, &buffer, &size, message);
    std::string bytes;
    if (encoded) bytes.assign(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    if (!encoded) {
        SetError(error, "cannot encode " + path.string() + ": " + message);
        return false;
    }
    return WriteFileAtomically(path, bytes, error);
}

bool LoadGreyImage(const std::filesystem::path& path, TGreyImage& out, std::string* error) {
    std::string data;
    if (!ReadWholeFile(path, data, error, kMaxImageFileBytes)) return false;
    const auto* bytes = reinterpret_cast<const stbi_uc*>(data.data());
    const int length = int(data.size());
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, length, &w, &h, &channels)) {
        SetError(error, path.string() + " is not a PNG, BMP or JPEG picture");
        return false;
    }
    if (w <= 0 || h <= 0 || w > kMaxHeightMapSide || h > kMaxHeightMapSide) {
        SetError(error, path.string() + " is " + std::to_string(w) + " x " + std::to_string(h) +
                            " pixels: a side must be 1.." + std::to_string(kMaxHeightMapSide));
        return false;
    }
    TGreyImage grey;
    grey.Width = w;
    grey.Height = h;
    grey.Values.resize(size_t(w) * size_t(h));
    if (stbi_is_16_bit_from_memory(bytes, length)) {
        stbi_us* pixels = stbi_load_16_from_memory(bytes, length, &w, &h, &channels, 1);
        if (pixels) {
            for (size_t k = 0; k < grey.Values.size(); ++k) grey.Values[k] = pixels[k] / 65535.0f;
        }
        stbi_image_free(pixels);
        if (!pixels) {
            SetError(error, "cannot read " + path.string() + ": " + stbi_failure_reason());
            return false;
        }
    } else {
        stbi_uc* pixels = stbi_load_from_memory(bytes, length, &w, &h, &channels, 1);
        if (pixels) {
            for (size_t k = 0; k < grey.Values.size(); ++k) grey.Values[k] = pixels[k] / 255.0f;
        }
        stbi_image_free(pixels);
        if (!pixels) {
            SetError(error, "cannot read " + path.string() + ": " + stbi_failure_reason());
            return false;
        }
    }
    out = std::move(grey);
    return true;
}

}  // namespace vallorn
