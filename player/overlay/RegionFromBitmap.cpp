#include "player/overlay/RegionFromBitmap.h"

#include <vector>

namespace lodgeview {

QRegion RegionFromBitmap(const QImage& bitmap)
{
    if (bitmap.isNull())
        return {};
    const QImage image = bitmap.convertToFormat(QImage::Format_RGB32);
    const QRgb key = image.pixel(0, 0) & 0xFFFFFF;
    const int width = image.width();
    std::vector<QRect> runs;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int x = 0;
        while (x < width) {
            while (x < width && (row[x] & 0xFFFFFF) == key)
                ++x;
            const int start = x;
            while (x < width && (row[x] & 0xFFFFFF) != key)
                ++x;
            if (x > start)
                runs.emplace_back(start, y, x - start, 1);
        }
    }
    QRegion region;
    region.setRects(runs.data(), static_cast<int>(runs.size()));
    return region;
}

} // namespace lodgeview
