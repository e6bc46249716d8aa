// The files of the picture corpus, in the formats the program lists from a folder (BMP, GIF, ICO,
// JPEG, PNG), whose verdict under this image library differs from the manifest's expectation:
// valid files refused by design and invalid files that still decode. The codec corpus tests and
// the end-to-end runs of the whole corpus read the same tables.
#pragma once
#include <map>
#include <string>

namespace ruvelto::corpus {

// Valid files this library refuses by design, with the reason.
inline const std::map<std::string, std::string> kRefusedValid = {
    // libjpeg 6b's API decodes 8-bit lossy JPEG only: these end in its "unsupported" message.
    {"jpeg/libjpeg-turbo/monkey12.jpg", "12-bit samples"},
    {"jpeg/jpeg-decoder/lossless/jpeg_lossless_sel1.jpg", "lossless process (SOF3)"},
    {"jpeg/jpeg-decoder/lossless/jpeg_lossless_sel7.jpg", "lossless process (SOF3)"},
    {"jpeg/twelvemonkeys/lossless/gradient_ls.jpg", "lossless process (SOF3)"},
    {"jpeg/twelvemonkeys/lossless/gradient_ls_pt.jpg", "lossless process (SOF3)"},
    {"jpeg/twelvemonkeys/lossless/testimg_rgb.jpg", "lossless process (SOF3)"},
};

// Invalid files that still decode under this library's rules, with the reason.
inline const std::map<std::string, std::string> kAcceptedInvalid = {
    {"bmp/bmpsuite/b/badbitssize.bmp", "the image size field is not needed for uncompressed rows"},
    {"bmp/bmpsuite/b/baddens1.bmp", "the density only sets the DPI"},
    {"bmp/bmpsuite/b/baddens2.bmp", "the density only sets the DPI"},
    {"bmp/bmpsuite/b/badfilesize.bmp", "the file size field is not read"},
    {"bmp/bmpsuite/b/pal8badindex.bmp", "indices past the file's palette show black"},
    {"bmp/bmptestsuite/corrupt/8bpp-colorsimportant-large.bmp", "the important-colours field is not read"},
    {"bmp/bmptestsuite/corrupt/offbits-zero.bmp", "a zero pixel offset means the pixels follow the palette"},
    {"bmp/commons-imaging/SanselanTest.bmp", "only its file size field is wrong"},
    // A run past the row end ends the decode with the rows decoded so far.
    {"bmp/bmpsuite/b/badrle.bmp", "RLE run past the row end"},
    {"bmp/bmpsuite/b/badrlebis.bmp", "RLE run past the row end"},
    {"bmp/bmpsuite/b/badrleter.bmp", "RLE run past the row end"},
    {"bmp/bmpsuite/b/badrle4.bmp", "RLE run past the row end"},
    {"bmp/bmpsuite/b/badrle4bis.bmp", "RLE run past the row end"},
    {"bmp/bmpsuite/b/badrle4ter.bmp", "RLE run past the row end"},
    {"bmp/image-rs/Bad_unusual_extend_buffer_usage.bmp", "RLE run past the row end"},
    {"bmp/bmptestsuite/corrupt/rle4-no-end-of-line-marker.bmp", "RLE run past the row end"},
    {"bmp/bmptestsuite/corrupt/rle8-no-end-of-line-marker.bmp", "RLE run past the row end"},
    {"bmp/bmptestsuite/corrupt/rle8-deltaleavesimage.bmp", "the data ends after leaving the picture"},
    {"ico/image-rs/Bad_smile-incorrect-image-length.ico", "the entry's data size field is not read"},
    {"ico/commons-imaging/OutOfMemory_epine.ico", "the icon's own 35 x 40 bitmap is sound"},
    // A truncated JPEG decodes as far as its data goes; libjpeg fills in the rest.
    {"jpeg/pillow/truncated_jpeg.jpg", "truncated scan data"},
    // Only the colour profile chunk names an unknown compression method; libpng skips that chunk.
    {"png/pillow/unknown_compression_method.png", "bad iCCP chunk, sound image data"},
    // Damaged LZW data does not fail a frame: a code beyond the table stands for the previous
    // string followed by its first pixel, as decoders that tolerate damage read it.
    {"gif/pygif/invalid-code.gif", "LZW code beyond the table"},
    {"gif/libgd-conformance/invalid/bad_lzw_code.gif", "LZW code beyond the table"},
    {"gif/pygif/plain-text.gif", "the plain text extension is skipped; the image after it is sound"},
    {"gif/libgd/bug00005_2.gif", "its first image is sound; the later ones off the screen are passed over"},
    {"gif/pillow/decompression_bomb_extents.gif", "its first image is sound; the huge one after it is passed over"},
};

}  // namespace ruvelto::corpus
