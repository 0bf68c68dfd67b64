// make_demo OUTDIR: writes the demo client locations into OUTDIR.
#include <cstdio>
#include <string>

#include "demo_data.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_demo OUTDIR\n");
        return 2;
    }
    std::string error;
    if (!demo::WriteDemo(argv[1], &error)) {
        std::fprintf(stderr, "make_demo: %s\n", error.c_str());
        return 1;
    }
    std::printf("demo locations written to %s: %s (running), %s (finished), %s (stopped)\n", argv[1],
                demo::kRunningLocation, demo::kFinishedLocation, demo::kStoppedLocation);
    return 0;
}
