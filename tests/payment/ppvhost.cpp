// An outside Qt host of MVK_PPVModule.so: prepares Qt WebEngine, creates its QApplication, then
// loads the module with dlopen and calls doPPV by name with C types, as the player would if it
// knew nothing of the project.
//   ppvhost [option] <library> <url>   prints the result and the buffer, which holds "untouched"
//                                      until doPPV writes to it
// Options break the host's duties: --no-application calls doPPV without a QApplication,
// --no-shared-contexts creates the QApplication without Qt::AA_ShareOpenGLContexts.
#include "player/controls/browser/WebEngineSetup.h"

#include <QApplication>

#include <cstdio>
#include <optional>
#include <string>

#include <dlfcn.h>

int main(int argc, char** argv)
{
    const std::string option = argc == 4 ? argv[1] : "";
    if ((argc != 3 && argc != 4) || (argc == 4 && option != "--no-application" && option != "--no-shared-contexts")) {
        std::fprintf(stderr, "usage: ppvhost [--no-application | --no-shared-contexts] <library> <url>\n");
        return 2;
    }
    const char* library = argv[argc - 2];
    const char* url = argv[argc - 1];

    lodgeview::PrepareWebEngine();
    if (option == "--no-shared-contexts")
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts, false);
    int applicationArgc = 1;
    std::optional<QApplication> application;
    if (option != "--no-application")
        application.emplace(applicationArgc, argv);

    void* module = dlopen(library, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::fprintf(stderr, "ppvhost: %s\n", dlerror());
        return 3;
    }
    int (*doPPV)(const char*, char*);
    *reinterpret_cast<void**>(&doPPV) = dlsym(module, "doPPV"); // the POSIX idiom for functions
    if (!doPPV)
        return 4;
    char buffer[255] = "untouched";
    const int result = doPPV(url, buffer);
    std::printf("%d %s\n", result, buffer);
    return 0;
}
