#include "render/pdf_file.h"

#include "core/byte_file.h"

#include <QIODevice>
#include <QPainter>
#include <QPdfWriter>

#include <string>

namespace quintor {

namespace {

// The writer's bytes, gathered into large blocks for the file's sink: the writer hands over
// many small pieces, and each block is one write call.
class SinkDevice : public QIODevice {
public:
    explicit SinkDevice(const ByteSink& sink) : sink_(sink) { buffer_.reserve(blockSize); }

    bool failed() const { return failed_; }
    // Sends what is gathered; false once any write has failed.
    bool drain() {
        if (!buffer_.empty() && !failed_)
            failed_ = !sink_(buffer_);
        buffer_.clear();
        return !failed_;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (failed_)
            return -1;
        buffer_.append(data, static_cast<std::size_t>(size));
        if (buffer_.size() >= blockSize && !drain())
            return -1;
        return size;
    }

private:
    static constexpr std::size_t blockSize = std::size_t{1} << 20;
    const ByteSink& sink_;
    std::string buffer_;
    bool failed_ = false;
};

} // namespace

PdfOutcome writePdfFile(const std::filesystem::path& file, const QPageLayout& layout,
                        int resolution, const std::function<bool(QPainter&, QPdfWriter&)>& paint) {
    bool stopped = false;
    const bool written = replaceFileContentsWith(file, [&](const ByteSink& sink) {
        SinkDevice device(sink);
        if (!device.open(QIODevice::WriteOnly))
            return false;
        QPdfWriter writer(&device);
        writer.setCreator(QStringLiteral("Quintor"));
        writer.setPageLayout(layout);
        writer.setResolution(resolution);
        QPainter painter;
        if (!painter.begin(&writer))
            return false;
        stopped = !paint(painter, writer);
        const bool ended = painter.end();
        return !stopped && ended && device.drain();
    });
    if (written)
        return PdfOutcome::written;
    return stopped ? PdfOutcome::stopped : PdfOutcome::failed;
}

} // namespace quintor
