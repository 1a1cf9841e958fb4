#pragma once

#include "PreparedReport.h"

#include <QSet>

class QPainter;

namespace kb::report {

// Draws prepared pages with a painter on any device: screen, image, PDF, printer. Fonts are set
// in points, so the device's resolution decides the scale.
class PageRenderer
{
public:
    // highlighted: indexes of the page's items drawn marked (the preview's find).
    static void paint(QPainter &painter, const PreparedReport &report, const PreparedPage &page,
                      const QSet<int> &highlighted = {}, int current = -1);
};

} // namespace kb::report
