#include "player/controls/browser/WebEngineSetup.h"

#include <QByteArray>
#include <QCoreApplication>

#include <unistd.h>

namespace lodgeview {

void PrepareWebEngine()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").simplified();
    if (!flags.split(' ').contains("--disable-gpu"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.isEmpty() ? "--disable-gpu" : flags + " --disable-gpu");
}

} // namespace lodgeview
