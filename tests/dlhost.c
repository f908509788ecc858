/* An outside host of the project's shared libraries: loads one with dlopen and calls an export
 * by name with C types, as a program that knows nothing of the project would.
 *   dlhost <library> LogoChange <0|1>   prints the result byte */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

int main(int argc, char** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: dlhost <library> <export> [arguments]\n");
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "dlhost: %s\n", dlerror());
        return 3;
    }
    if (strcmp(argv[2], "LogoChange") == 0 && argc == 4) {
        unsigned char (*logoChange)(unsigned char);
        *(void**)(&logoChange) = dlsym(library, "LogoChange"); /* the POSIX idiom for functions */
        if (!logoChange)
            return 4;
        printf("%d\n", logoChange((unsigned char)atoi(argv[3])));
        return 0;
    }
    fprintf(stderr, "dlhost: unknown call %s\n", argv[2]);
    return 2;
}
