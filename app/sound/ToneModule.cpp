// The entry point of the tone module, loaded at the first alarm so that the
// sound stack costs nothing until then.
#include "app/sound/AudioSinkOutput.h"
#include "app/sound/ToneSpeaker.h"

extern "C" Q_DECL_EXPORT vostrel::Speaker* CreateToneSpeaker(vostrel::Speaker& fallback)
{
    return new vostrel::ToneSpeaker(fallback, std::make_unique<vostrel::AudioSinkOutput>());
}
