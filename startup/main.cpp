#include "startup/StartSequence.h"

int main(int argc, char** argv) {
    return ml::RunStartSequence(argc, argv);
}
