#pragma once

#include "launcher/SourceProbe.h"

#include <string>
#include <vector>

namespace vidora {

// An output that FFmpeg writes under a temporary name, and the name it gets once complete.
struct TemporaryOutput {
    std::string temporary;
    std::string output;
};

// What fp.dll hands to FFmpeg for one encoder command line of the program, and what the
// launcher itself needs to know about that line.
struct EncoderCall {
    std::vector<std::string> arguments;            // FFmpeg's arguments, without the program name
    std::vector<std::string> inputs;               // every -i value, in order
    std::vector<std::string> outputs;              // every output file, in order, by its final name
    std::vector<TemporaryOutput> temporaryOutputs; // the outputs written under another name
    std::string statisticsFile;                    // the -vstats_file value, or empty
    // The row's encoder or container has limits that depend on the source, and no facts about
    // it were given: translate again with the facts of the probe of the only input.
    bool needsSource = false;
    std::string inputFormat; // the -f given to that input, empty for none
};

// Turns the arguments the program gives its encoder into arguments for today's FFmpeg: it
// answers the overwrite question itself, asks for the statistics line layout the progress
// display reads, moves the options that follow the output file in front of it (FFmpeg would
// ignore them there), seeks before decoding, replaces encoders that FFmpeg no longer has and
// brings rates, bitrates, channels and thread counts into what the chosen encoder and container
// accept, adding a silent sound track where a container needs sound the source does not bring.
// Every output file is written under its temporary name (unless -n asks FFmpeg to keep existing
// files, which then decides itself). With a progressDescriptor of 0 or more, FFmpeg also
// reports its progress to that descriptor.
EncoderCall translateEncoderArguments(const std::vector<std::string>& arguments,
                                      int progressDescriptor = -1, const SourceFacts& source = {});

} // namespace vidora
