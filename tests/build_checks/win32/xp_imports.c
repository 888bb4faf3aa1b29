// A program that imports only what Windows XP exports: the import check
// passes it. CreateProcessAsUserW is advapi32's on XP; linked with kernel32
// first it binds to kernel32, which exports it only from Windows 8 on.
#include <windows.h>

int main(int argc, char** argv) {
    (void)argv;
    if (argc > 5) CreateProcessAsUserW(NULL, NULL, NULL, NULL, NULL, FALSE, 0, NULL, NULL, NULL, NULL);
    return (int)(GetTickCount() & 1);
}
