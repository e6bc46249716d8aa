// Builds without a metafile renderer: every metafile fails as damaged, cleanly.
#include "image/wmf_codec.h"

namespace ruvelto::image {

const bool kMetafilesRender = false;

bool WmfCodec::Decode(Stream&) { return Fail(kErrWmfDamaged); }

}  // namespace ruvelto::image
