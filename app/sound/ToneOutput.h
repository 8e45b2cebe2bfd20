#pragma once

#include <functional>

class QIODevice;

namespace vostrel {

// Where the tone is heard: one playback stream at a time, which pulls its
// samples from a source for as long as it is open.
class ToneOutput {
public:
    virtual ~ToneOutput() = default;
    // The sample rate the next stream will play at; 0 when there is no
    // output to open one on.
    virtual unsigned Prepare() = 0;
    // Opens the stream prepared last, reading source. false if it did not
    // start. failed is called, later and from the event loop, if the open
    // stream stops with an error.
    virtual bool Start(QIODevice& source, std::function<void()> failed) = 0;
    // Closes the stream, if one is open.
    virtual void Stop() = 0;
};

} // namespace vostrel
