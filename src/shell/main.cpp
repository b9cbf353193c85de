#include "ProgramMain.h"

int main(int argc, char **argv)
{
    return vocab::ProgramMain(argc, argv);
}
