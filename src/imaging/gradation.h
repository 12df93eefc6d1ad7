// PictureGradation: the send panel's previews of the capture. The picture is smoothed
// (the downscaled preview then shows text less ragged) and fitted into both preview
// panels.
#pragma once

#include <functional>
#include <string_view>

#include "imaging/picture.h"
#include "imaging/reduce_size.h"

namespace tavisnap {

struct PanelSize {
  int width = 0;
  int height = 0;
};

// Panel_image on the simple page and Panel_d_image on the detailed page.
inline constexpr PanelSize kEasyPreviewPanel{512, 384};
inline constexpr PanelSize kDetailedPreviewPanel{269, 296};

// Three passes; in each, every channel of every inner pixel becomes the mean of itself
// and the mean of its four neighbours (both means truncated), all read as they were at
// the start of the pass. The outermost rows and columns keep their values; a picture
// less than three pixels wide or high is left as it is.
void SmoothPicture(Picture& picture);

// Rows from the top that may be read, once there are at least `needed`; fewer (-1) when
// no more will come.
using RowsReady = std::function<int(int needed)>;

// SmoothPicture of a picture that another thread is still filling from the top, asking
// rowsReady before it reads further down. False when the rows stopped coming; the picture
// is then partly smoothed.
bool SmoothPicture(Picture& picture, const RowsReady& rowsReady);

struct PreviewPictures {
  Picture picture;  // smoothed; both previews show it, stretched to their placement
  PreviewPlacement easy;
  PreviewPlacement detailed;
};

PreviewPictures PictureGradation(Picture capture, PanelSize easy = kEasyPreviewPanel,
                                 PanelSize detailed = kDetailedPreviewPanel);

// PictureGradation(DecodeJpeg(jpeg)), the smoothing done alongside the decoding.
// Throws AppError(kJpegReadError) as DecodeJpeg does.
PreviewPictures DecodePreview(std::string_view jpeg, PanelSize easy = kEasyPreviewPanel,
                              PanelSize detailed = kDetailedPreviewPanel);

}  // namespace tavisnap
