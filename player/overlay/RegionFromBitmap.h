#pragma once
#include <QImage>
#include <QRegion>

namespace lodgeview {

// The pixels of bitmap whose colour differs from its top-left pixel (exact on red, green and
// blue), as the union of one-row rectangles, one per maximal run in each row.
QRegion RegionFromBitmap(const QImage& bitmap);

} // namespace lodgeview
