// JP2 files and J2K/JPC codestreams through OpenJPEG, over our own streams. OpenJPEG's messages
// are captured into the failure text, never printed.
#pragma once
#include "image/j2k_components.h"
#include "image/stream.h"

namespace ruvelto::image::j2k {

// Reads the header, checks the component count and sizes against the limits, then decodes.
// escape is polled while OpenJPEG reads: once it is nonzero the stream reports its end.
ComponentImage DecodeWithOpenJpeg(Stream& stream, bool jp2, const int32_t* escape, std::string& error);

// rate is the wanted size as a fraction of the raw size; 1 or more writes losslessly.
bool EncodeWithOpenJpeg(opj_image_t& components, Stream& stream, bool jp2, double rate, std::string& error);

}  // namespace ruvelto::image::j2k
