#include "backend/Jpeg.h"

#include "platform/Exceptions.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace ml {

namespace {

// Pictures larger than this on either side are refused before any pixel memory is taken: a
// stream header can claim up to 65535 x 65535, which would ask for 16 GiB.
constexpr unsigned kMaxSide = 16384;
// What decoding one picture may take in all: the 32-bit bitmap of the largest picture allowed.
// The decoder's own buffers (a progressive picture keeps every coefficient) share it with the
// bitmap being filled.
constexpr std::size_t kPictureBudget = std::size_t{kMaxSide} * kMaxSide * 4;

// Every 8 x 8 block of the first component carries at least its DC coefficient, which
// Huffman coding writes in one bit or more, in sequential and progressive pictures alike. So
// the data bounds the size its header may claim; more is a damaged or hostile header, refused
// before a few bytes can ask for a gigabyte. (Arithmetic coding can go below a bit a block:
// only the budget bounds those.)
void CheckSizeAgainstData(const jpeg_decompress_struct& info, std::size_t size) {
    const jpeg_component_info& first = info.comp_info[0];
    const std::uint64_t blocks =
        std::uint64_t{first.width_in_blocks} * std::uint64_t{first.height_in_blocks};
    if (!info.arith_code && blocks > std::uint64_t{size} * 8)
        throw EInvalidGraphic("JPEG data of " + std::to_string(size) + " bytes cannot hold a " +
                              std::to_string(info.image_width) + " x " +
                              std::to_string(info.image_height) + " pixel picture");
}

// libjpeg reports fatal errors by calling error_exit, which must not return. We jump back to
// the call site (no C++ objects with destructors live between setjmp and longjmp in the
// guarded frames) and raise from there with the library's own text.
struct TErrorManager {
    jpeg_error_mgr Pub;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

void ErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<TErrorManager*>(info->err);
    manager->Pub.format_message(info, manager->Message);
    std::longjmp(manager->Jump, 1);
}

// Warnings (a stream that ends early, extra bytes before a marker) are not fatal: the decoder
// fills what is missing and the picture is still shown, as a viewer would.
void EmitMessage(j_common_ptr, int) {}

void InstallErrorManager(TErrorManager& manager) {
    jpeg_std_error(&manager.Pub);
    manager.Pub.error_exit = ErrorExit;
    manager.Pub.emit_message = EmitMessage;
    manager.Message[0] = '\0';
}

// Our 32-bit pixels are 0xFFRRGGBB words; libjpeg-turbo writes them directly when told the
// byte order of such a word in memory.
constexpr J_COLOR_SPACE kNativeXRGB = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;

// Adobe writes CMYK and YCCK JPEGs with inverted ink values; libjpeg-turbo hands them back as
// stored and leaves the conversion to us.
std::uint32_t InvertedCmykToRgb(const JSAMPLE* cmyk) {
    const unsigned k = cmyk[3];
    const unsigned r = cmyk[0] * k / 255;
    const unsigned g = cmyk[1] * k / 255;
    const unsigned b = cmyk[2] * k / 255;
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

struct TDecompressor {
    jpeg_decompress_struct Info{};
    TErrorManager Errors;
    TDecompressor() {
        Info.err = &Errors.Pub;
        InstallErrorManager(Errors);
        jpeg_create_decompress(&Info);
    }
    ~TDecompressor() { jpeg_destroy_decompress(&Info); }
};

struct TCompressor {
    jpeg_compress_struct Info{};
    TErrorManager Errors;
    unsigned char* Buffer = nullptr;
    unsigned long Size = 0;
    TCompressor() {
        Info.err = &Errors.Pub;
        InstallErrorManager(Errors);
        jpeg_create_compress(&Info);
    }
    ~TCompressor() {
        jpeg_destroy_compress(&Info);
        std::free(Buffer);
    }
};

// The steps that may longjmp. They run in a frame that holds only plain data, so that the
// jump skips no destructor; the caller turns the recorded message into an exception.
bool ReadHeader(TDecompressor& d, const std::uint8_t* data, std::size_t size) {
    if (setjmp(d.Errors.Jump))
        return false;
    jpeg_mem_src(&d.Info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&d.Info, TRUE);
    return true;
}

// The largest reduction of 1/2, 1/4 and 1/8 whose picture still covers the shown size; the
// decoder rounds a reduced side up. 1 keeps the picture whole.
unsigned ReductionFor(const jpeg_decompress_struct& info, QSize shown) {
    if (shown.width() < 1 || shown.height() < 1)
        return 1;
    const auto width = static_cast<unsigned>(shown.width());
    const auto height = static_cast<unsigned>(shown.height());
    for (unsigned denominator : {8u, 4u, 2u})
        if ((info.image_width + denominator - 1) / denominator >= width &&
            (info.image_height + denominator - 1) / denominator >= height)
            return denominator;
    return 1;
}

bool SetReduction(TDecompressor& d, unsigned denominator) {
    if (setjmp(d.Errors.Jump))
        return false;
    d.Info.scale_num = 1;
    d.Info.scale_denom = denominator;
    jpeg_calc_output_dimensions(&d.Info);
    return true;
}

bool ReadPixels(TDecompressor& d, TBitmap& bitmap, JSAMPLE* cmykRow) {
    if (setjmp(d.Errors.Jump))
        return false;
    jpeg_start_decompress(&d.Info);
    while (d.Info.output_scanline < d.Info.output_height) {
        const int row = static_cast<int>(d.Info.output_scanline);
        if (cmykRow) {
            jpeg_read_scanlines(&d.Info, &cmykRow, 1);
            std::uint32_t* line = bitmap.ScanLine(row);
            for (int x = 0; x < bitmap.Width(); ++x)
                line[x] = InvertedCmykToRgb(cmykRow + 4 * x);
        } else {
            auto* line = reinterpret_cast<JSAMPLE*>(bitmap.ScanLine(row));
            jpeg_read_scanlines(&d.Info, &line, 1);
        }
    }
    jpeg_finish_decompress(&d.Info);
    return true;
}

bool WritePixels(TCompressor& c, const TBitmap& bitmap, int quality) {
    if (setjmp(c.Errors.Jump))
        return false;
    jpeg_mem_dest(&c.Info, &c.Buffer, &c.Size);
    c.Info.image_width = static_cast<JDIMENSION>(bitmap.Width());
    c.Info.image_height = static_cast<JDIMENSION>(bitmap.Height());
    c.Info.input_components = 4;
    c.Info.in_color_space = kNativeXRGB;
    jpeg_set_defaults(&c.Info);
    jpeg_set_quality(&c.Info, quality, TRUE);
    jpeg_start_compress(&c.Info, TRUE);
    while (c.Info.next_scanline < c.Info.image_height) {
        // libjpeg only reads the rows it is given; the cast drops const for its C signature.
        auto* line = reinterpret_cast<JSAMPLE*>(
            const_cast<std::uint32_t*>(bitmap.ScanLine(static_cast<int>(c.Info.next_scanline))));
        jpeg_write_scanlines(&c.Info, &line, 1);
    }
    jpeg_finish_compress(&c.Info);
    return true;
}

} // namespace

TBitmap DecodeJpeg(const std::uint8_t* data, std::size_t size, const TShownSize& shown) {
    if (data == nullptr || size == 0)
        throw EInvalidGraphic("JPEG data is empty");
    TDecompressor d;
    if (!ReadHeader(d, data, size))
        throw EInvalidGraphic(d.Errors.Message);
    if (d.Info.image_width > kMaxSide || d.Info.image_height > kMaxSide)
        throw EInvalidGraphic("JPEG picture is too large (" + std::to_string(d.Info.image_width) +
                              " x " + std::to_string(d.Info.image_height) + " pixels)");

    CheckSizeAgainstData(d.Info, size);

    const bool cmyk = d.Info.jpeg_color_space == JCS_CMYK || d.Info.jpeg_color_space == JCS_YCCK;
    d.Info.out_color_space = cmyk ? JCS_CMYK : kNativeXRGB;
    const unsigned reduction =
        shown ? ReductionFor(d.Info, shown(QSize(static_cast<int>(d.Info.image_width),
                                                 static_cast<int>(d.Info.image_height))))
              : 1;
    if (!SetReduction(d, reduction))
        throw EInvalidGraphic(d.Errors.Message);
    const std::size_t bitmapBytes = std::size_t{d.Info.output_width} * d.Info.output_height * 4;
    // At least a little room for the decoder: a zero would mean no limit at all.
    d.Info.mem->max_memory_to_use =
        static_cast<long>(std::max<std::size_t>(kPictureBudget - bitmapBytes, 1 << 20));
    TBitmap bitmap(static_cast<int>(d.Info.output_width), static_cast<int>(d.Info.output_height));
    std::vector<JSAMPLE> cmykRow(cmyk ? 4 * static_cast<std::size_t>(d.Info.output_width) : 0);
    if (!ReadPixels(d, bitmap, cmyk ? cmykRow.data() : nullptr)) {
        // The decoder asks for a backing store when its buffers would pass the budget.
        if (d.Errors.Pub.msg_code == JERR_NO_BACKING_STORE)
            throw EInvalidGraphic("JPEG picture of " + std::to_string(d.Info.image_width) + " x " +
                                  std::to_string(d.Info.image_height) +
                                  " pixels needs more memory to decode than a picture may use");
        throw EInvalidGraphic(d.Errors.Message);
    }
    return bitmap;
}

TBitmap DecodeJpeg(const std::string& bytes, const TShownSize& shown) {
    return DecodeJpeg(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), shown);
}

std::string EncodeJpeg(const TBitmap& bitmap, int quality) {
    if (bitmap.Empty())
        throw EInvalidGraphic("Cannot encode an empty picture as JPEG");
    TCompressor c;
    if (!WritePixels(c, bitmap, std::clamp(quality, 1, 100)))
        throw EInvalidGraphic(c.Errors.Message);
    return std::string(reinterpret_cast<const char*>(c.Buffer), c.Size);
}

} // namespace ml
