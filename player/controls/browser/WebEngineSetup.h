#pragma once
// What a program that shows Qt WebEngine views must do before it creates its QApplication:
// - share OpenGL contexts (Qt::AA_ShareOpenGLContexts): Qt WebEngine needs it, and a shared
//   library that shows web views cannot set it itself once its host runs, so every host program
//   (the player, the payment module's test hosts) calls this;
// - when running as root, switch Chromium's sandbox off (QTWEBENGINE_DISABLE_SANDBOX=1): with it,
//   Chromium does not start as root;
// - render without a GPU: "--disable-gpu" joins any flags already in QTWEBENGINE_CHROMIUM_FLAGS.
// Qt WebEngine reads both variables when it starts, with the first view.

namespace lodgeview {

void PrepareWebEngine();

} // namespace lodgeview
