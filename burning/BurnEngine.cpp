#include "burning/BurnEngine.h"

#include "platform/DRDevice.h"

BurnEngine BurnEngineChoice::choose(
    bool hasLayout, bool cdrdaoPreferred, bool recorderWritesImageFile, bool recorderCanWriteRawMode2)
{
    if (recorderWritesImageFile)
        return hasLayout ? BurnEngine::DiscRecording : BurnEngine::None;
    if (cdrdaoPreferred || !hasLayout || !recorderCanWriteRawMode2)
        return BurnEngine::Cdrdao;
    return BurnEngine::DiscRecording;
}

BurnEngine BurnEngineChoice::choose(bool hasLayout, bool cdrdaoPreferred, const DRDevice &recorder)
{
    return choose(hasLayout, cdrdaoPreferred, recorder.writesImageFile(), recorder.canWriteRawMode2());
}

QString BurnEngineChoice::name(BurnEngine engine)
{
    switch (engine) {
    case BurnEngine::DiscRecording:
        return QStringLiteral("disc recording");
    case BurnEngine::Cdrdao:
        return QStringLiteral("cdrdao");
    case BurnEngine::None:
        break;
    }
    return QStringLiteral("none");
}
