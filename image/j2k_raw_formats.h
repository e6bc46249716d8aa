// The three uncompressed members of the JPEG-2000 family, read into and written from components.
// Readers check every header field and the bytes the data needs before they allocate.
#pragma once
#include "image/j2k_components.h"
#include "image/stream.h"

namespace ruvelto::image::j2k {

// PBM, PGM, PPM in their plain and binary forms (P1-P6) and PAM (P7); samples become 8 bits
// or fewer unless the maximum is one less than a power of two.
ComponentImage ReadPnm(Stream& stream, const int32_t* escape, std::string& error);
bool WritePnm(const opj_image_t& components, Stream& stream);

// PGX: one component, big- or little-endian, signed or unsigned, up to 16 bits.
ComponentImage ReadPgx(Stream& stream, const int32_t* escape, std::string& error);
bool WritePgx(const opj_image_t& components, Stream& stream);

// Sun raster: 1, 8, 24 and 32 bits, standard, run-length and RGB types, with or without a map.
ComponentImage ReadRas(Stream& stream, const int32_t* escape, std::string& error);
bool WriteRas(const opj_image_t& components, Stream& stream);

}  // namespace ruvelto::image::j2k
