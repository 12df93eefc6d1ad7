// The scale at which a picture is shown in a preview panel, and where it lies there.
// Computed in 80-bit extended floating point and truncated toward zero, so that the
// previews keep the sizes users know: a picture 1280 pixels wide at 40 % is 511 pixels
// wide, not 512.
#pragma once

namespace tavisnap {

// Whole percent, at most 100 (a picture is never enlarged). A picture larger than the
// panel in both directions is scaled by the direction with the larger excess in pixels
// (equal excess: by the height), so it may overflow the panel in the other direction.
int ReduceSize(int panelWidth, int panelHeight, int pictureWidth, int pictureHeight);

// The picture's rectangle in the panel's coordinates; it may reach past the panel,
// which clips it.
struct PreviewPlacement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PreviewPlacement&, const PreviewPlacement&) = default;
};

// Scaled by ReduceSize and centred.
PreviewPlacement FitPreview(int panelWidth, int panelHeight, int pictureWidth, int pictureHeight);

}  // namespace tavisnap
