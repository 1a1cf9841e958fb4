#include "MetafileDevice.h"

#include "EmfPaintEngine.h"
#include "WmfPaintEngine.h"

namespace kb {

namespace {

constexpr int dotsPerInch = 96;

} // namespace

MetafileDevice::MetafileDevice(Format format, QSize size) : m_size(size)
{
    if (format == Format::Emf)
        m_engine = std::make_unique<EmfPaintEngine>(size);
    else
        m_engine = std::make_unique<WmfPaintEngine>(size);
}

MetafileDevice::~MetafileDevice() = default;

int MetafileDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_size.width();
    case PdmHeight: return m_size.height();
    case PdmWidthMM: return qRound(m_size.width() * 25.4 / dotsPerInch);
    case PdmHeightMM: return qRound(m_size.height() * 25.4 / dotsPerInch);
    case PdmNumColors: return 0x7fffffff;
    case PdmDepth: return 24;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return dotsPerInch;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    }
    return 0;
}

} // namespace kb
