#include "imaging/jpeg_codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

// jpeglib.h needs FILE and size_t declared first; jerror.h needs jpeglib.h.
#include <jpeglib.h>
// clang-format off
#include <jerror.h>
// clang-format on

#include "core/app_error.h"
#include "core/file_util.h"

namespace tavisnap {
namespace {

// libjpeg reports errors through callbacks called from its own C frames, and its default
// ends the process. No C++ exception may cross those frames, so the callbacks longjmp back
// to the function that called the library; that function has only trivially destructible
// locals and returns false, and its C++ caller throws.
struct ErrorTrap {
  jpeg_error_mgr mgr;  // first member: libjpeg hands back &mgr
  std::jmp_buf jump;
};

[[noreturn]] void TrapError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1);
}

// Warnings that mean picture data is missing or garbled count as errors: a truncated
// file must not pass as a picture with a grey lower half. Harmless ones (stray bytes
// between markers, unknown JFIF revision) pass.
void TrapWarning(j_common_ptr cinfo, int level) {
  if (level >= 0) return;  // trace output
  switch (cinfo->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
#if JPEG_LIB_VERSION >= 70 || defined(C_ARITH_CODING_SUPPORTED) || defined(D_ARITH_CODING_SUPPORTED)
    case JWRN_ARITH_BAD_CODE:
#endif
      TrapError(cinfo);
    default:
      cinfo->err->num_warnings++;
  }
}

// A progressive file can hold thousands of tiny scans that keep the decoder busy for
// minutes; no real picture needs more than a few dozen.
constexpr int kMaxScans = 500;

void LimitScans(j_common_ptr cinfo) {
  auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
  if (d->input_scan_number > kMaxScans) TrapError(cinfo);
}

void InstallTrap(ErrorTrap* trap) {
  jpeg_std_error(&trap->mgr);
  trap->mgr.error_exit = TrapError;
  trap->mgr.emit_message = TrapWarning;
}

// ---- Encoding ----

// The encoder writes straight into the string that is handed back. libjpeg's own memory
// destination cannot be used: after an error halfway its buffer may already be freed.
struct StringDestination {
  jpeg_destination_mgr mgr;  // first member: libjpeg hands back &mgr
  std::string bytes;
  size_t initialSize = 0;
};

StringDestination* DestinationOf(j_compress_ptr cinfo) {
  return reinterpret_cast<StringDestination*>(cinfo->dest);
}

// No exception may leave these callbacks: a failed allocation becomes libjpeg's error.
void ResizeOrFail(j_compress_ptr cinfo, size_t size) {
  bool resized = false;
  try {
    DestinationOf(cinfo)->bytes.resize(size);
    resized = true;
  } catch (...) {
  }
  if (!resized) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
}

void StartDestination(j_compress_ptr cinfo) {
  StringDestination* d = DestinationOf(cinfo);
  ResizeOrFail(cinfo, d->initialSize);
  d->mgr.next_output_byte = reinterpret_cast<JOCTET*>(d->bytes.data());
  d->mgr.free_in_buffer = d->bytes.size();
}

boolean GrowDestination(j_compress_ptr cinfo) {  // called with the string full
  StringDestination* d = DestinationOf(cinfo);
  const size_t used = d->bytes.size();
  ResizeOrFail(cinfo, used * 2);
  d->mgr.next_output_byte = reinterpret_cast<JOCTET*>(d->bytes.data() + used);
  d->mgr.free_in_buffer = d->bytes.size() - used;
  return TRUE;
}

void EndDestination(j_compress_ptr cinfo) {
  StringDestination* d = DestinationOf(cinfo);
  d->bytes.resize(d->bytes.size() - d->mgr.free_in_buffer);  // shrinking does not allocate
}

struct EncodeJob {
  ErrorTrap trap{};
  jpeg_compress_struct cinfo{};  // zeroed, so destroying it is safe at any stage
  StringDestination destination{};
  EncodeJob() {
    InstallTrap(&trap);
    cinfo.err = &trap.mgr;
    destination.mgr.init_destination = StartDestination;
    destination.mgr.empty_output_buffer = GrowDestination;
    destination.mgr.term_destination = EndDestination;
  }
  ~EncodeJob() { jpeg_destroy_compress(&cinfo); }
};

// rowsFilled(n) returns how many rows are there to read, waiting for at least n; fewer
// means that the rest will never come.
bool Compress(EncodeJob* job, JSAMPARRAY rows, int width, int height,
              const RowsFilled& rowsFilled) {
  if (setjmp(job->trap.jump)) return false;
  jpeg_compress_struct& c = job->cinfo;
  jpeg_create_compress(&c);
  // A screen at quality 100 takes about a byte per pixel.
  job->destination.initialSize = static_cast<size_t>(width) * static_cast<size_t>(height) + 65536;
  c.dest = &job->destination.mgr;
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = Picture::kBytesPerPixel;
  c.in_color_space = JCS_EXT_BGR;  // the Picture's byte order; stored as YCbCr
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 100, TRUE);
  jpeg_start_compress(&c, TRUE);
  // Rows that will never come are encoded as they are and the result thrown away: the
  // memory destination cannot be let go of halfway.
  bool complete = true;
  while (c.next_scanline < c.image_height) {
    int next = static_cast<int>(c.next_scanline);
    int filled = height;
    if (complete && rowsFilled && (filled = std::min(rowsFilled(next + 1), height)) <= next) {
      complete = false;
      filled = height;
    }
    jpeg_write_scanlines(&c, rows + next, static_cast<JDIMENSION>(filled - next));
  }
  jpeg_finish_compress(&c);
  return complete;
}

// ---- Decoding ----

struct DecodeJob {
  ErrorTrap trap{};
  jpeg_progress_mgr progress{};
  jpeg_decompress_struct cinfo{};
  DecodeJob() {
    InstallTrap(&trap);
    cinfo.err = &trap.mgr;
    progress.progress_monitor = LimitScans;
  }
  ~DecodeJob() { jpeg_destroy_decompress(&cinfo); }
};

bool ReadHeader(DecodeJob* job, const unsigned char* data, unsigned long size) {
  if (setjmp(job->trap.jump)) return false;
  jpeg_decompress_struct& d = job->cinfo;
  jpeg_create_decompress(&d);
  d.progress = &job->progress;
  jpeg_mem_src(&d, data, size);
  jpeg_read_header(&d, TRUE);
  return true;
}

// CMYK as Adobe writes it (the usual kind, marked by an Adobe segment) is stored
// inverted.
void CmykRowToBgr(const JSAMPLE* cmyk, uint8_t* bgr, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) {
      c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
    }
    bgr[0] = static_cast<uint8_t>((y * k + 127) / 255);
    bgr[1] = static_cast<uint8_t>((m * k + 127) / 255);
    bgr[2] = static_cast<uint8_t>((c * k + 127) / 255);
  }
}

// rows: one per output line, into the picture. cmykRow: scratch for a CMYK file, else null.
bool ReadRows(DecodeJob* job, JSAMPARRAY rows, JSAMPROW cmykRow, const RowsDecoded& rowsDecoded) {
  if (setjmp(job->trap.jump)) return false;
  jpeg_decompress_struct& d = job->cinfo;
  jpeg_start_decompress(&d);
  if (d.output_width != d.image_width || d.output_height != d.image_height) return false;
  bool inverted = d.saw_Adobe_marker;
  while (d.output_scanline < d.output_height) {
    JDIMENSION y = d.output_scanline;
    if (cmykRow) {
      if (jpeg_read_scanlines(&d, &cmykRow, 1) == 1) {
        CmykRowToBgr(cmykRow, rows[y], d.output_width, inverted);
      }
    } else {
      jpeg_read_scanlines(&d, rows + y, d.output_height - y);
    }
    if (rowsDecoded) rowsDecoded(static_cast<int>(d.output_scanline));
  }
  jpeg_finish_decompress(&d);
  return true;
}

std::vector<JSAMPROW> RowPointers(const Picture& picture) {
  std::vector<JSAMPROW> rows(static_cast<size_t>(picture.Height()));
  for (int y = 0; y < picture.Height(); ++y) {
    // libjpeg's row type is not const; the encoder only reads through it.
    rows[static_cast<size_t>(y)] = const_cast<JSAMPROW>(picture.Row(y));
  }
  return rows;
}

}  // namespace

std::string EncodeJpeg(const Picture& picture) {
  return EncodeJpegAsFilled(picture, nullptr);
}

std::string EncodeJpegAsFilled(const Picture& picture, const RowsFilled& rowsFilled) {
  if (picture.Empty()) throw AppError(kJpegWriteError);
  std::vector<JSAMPROW> rows = RowPointers(picture);
  EncodeJob job;
  if (!Compress(&job, rows.data(), picture.Width(), picture.Height(), rowsFilled)) {
    throw AppError(kJpegWriteError);
  }
  return std::move(job.destination.bytes);
}

Picture DecodeJpeg(std::string_view bytes) {
  Picture picture;
  DecodeJpegInto(bytes, picture, nullptr);
  return picture;
}

void DecodeJpegInto(std::string_view bytes, Picture& picture, const RowsDecoded& rowsDecoded) {
  DecodeJob job;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  if (bytes.empty() || !ReadHeader(&job, data, static_cast<unsigned long>(bytes.size()))) {
    throw AppError(kJpegReadError);
  }
  jpeg_decompress_struct& d = job.cinfo;
  if (!IsSupportedPictureSize(d.image_width, d.image_height)) throw AppError(kJpegReadError);
  std::vector<JSAMPLE> cmyk;
  if (d.jpeg_color_space == JCS_CMYK || d.jpeg_color_space == JCS_YCCK) {
    d.out_color_space = JCS_CMYK;
    cmyk.resize(static_cast<size_t>(d.image_width) * 4);
  } else {
    d.out_color_space = JCS_EXT_BGR;  // also from greyscale
  }
  picture = Picture(static_cast<int>(d.image_width), static_cast<int>(d.image_height));
  if (rowsDecoded) rowsDecoded(0);
  std::vector<JSAMPROW> rows = RowPointers(picture);
  if (!ReadRows(&job, rows.data(), cmyk.empty() ? nullptr : cmyk.data(), rowsDecoded)) {
    throw AppError(kJpegReadError);
  }
}

void WriteJpegFile(const std::string& path, const Picture& picture, FileDurability durability) {
  std::string bytes = EncodeJpeg(picture);
  if (!AtomicWriteFile(path, bytes, durability)) throw AppError(kJpegWriteError);
}

std::string ReadJpegBytes(const std::string& path) {
  std::optional<std::string> bytes = ReadWholeFile(path);
  if (!bytes) throw AppError(kJpegReadError);
  return std::move(*bytes);
}

Picture ReadJpegFile(const std::string& path) {
  return DecodeJpeg(ReadJpegBytes(path));
}

}  // namespace tavisnap
