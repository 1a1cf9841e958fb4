#pragma once

#include "MetafilePaintEngine.h"

#include <QPaintDevice>

#include <memory>

namespace kb {

// A paint device whose picture is an enhanced (EMF) or plain (WMF) metafile of the given size
// in pixels at 96 pixels per inch. Paint on it with a QPainter; data() holds the file's bytes
// once the painter has ended.
class MetafileDevice : public QPaintDevice
{
public:
    enum class Format { Emf, Wmf };

    MetafileDevice(Format format, QSize size);
    ~MetafileDevice() override;

    QPaintEngine *paintEngine() const override { return m_engine.get(); }
    QByteArray data() const { return m_engine->data(); }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize m_size;
    std::unique_ptr<MetafilePaintEngine> m_engine;
};

} // namespace kb
