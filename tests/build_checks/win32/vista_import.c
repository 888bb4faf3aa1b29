// A program that imports GetTickCount64, which Windows exports only from Vista
// on: the import check must refuse it.
#include <windows.h>

int main(void) { return (int)(GetTickCount64() & 1); }
