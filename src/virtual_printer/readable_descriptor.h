#pragma once

#include <QByteArray>
#include <QSocketNotifier>
#include <memory>

// A descriptor the printer reads itself, so that it takes no more than its buffer has room for,
// with the notifier that says when there is something to read.
class ReadableDescriptor {
public:
    ReadableDescriptor() = default;
    ReadableDescriptor(const ReadableDescriptor&) = delete;
    ReadableDescriptor& operator=(const ReadableDescriptor&) = delete;
    ~ReadableDescriptor() { close(); }

    template <typename Slot> void watch(int fd, QObject* receiver, Slot onReadable) {
        close();
        fd_ = fd;
        notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, receiver, onReadable);
    }
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    void setReading(bool reading);
    void close();

    struct Read {
        QByteArray bytes;
        bool ended = false; // the other side closed, or the descriptor failed
    };
    // One read of at most `most` bytes; nothing, and not ended, when there is nothing for now.
    Read readAtMost(qsizetype most) const;
    // Writes what the descriptor takes at once; a host that reads nothing loses the rest.
    void writeSome(const QByteArray& bytes) const;

private:
    int fd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};
