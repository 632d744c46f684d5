#pragma once

#include <string>
#include <vector>

namespace vidora {

// What fp.dll hands to FFmpeg for one encoder command line of the program, and what the
// launcher itself needs to know about that line.
struct EncoderCall {
    std::vector<std::string> arguments; // FFmpeg's arguments, without the program name
    std::vector<std::string> inputs;    // every -i value, in order
    std::vector<std::string> outputs;   // every output file, in order
    std::string statisticsFile;         // the -vstats_file value, or empty
};

// Turns the arguments the program gives its encoder into arguments for today's FFmpeg: it
// answers the overwrite question itself, asks for the statistics line layout the progress
// display reads, moves the options that follow the output file in front of it (FFmpeg would
// ignore them there), seeks before decoding, replaces encoders that FFmpeg no longer has and
// brings rates and bitrates into what the chosen encoder and container accept. With a
// progressDescriptor of 0 or more, FFmpeg also reports its progress to that descriptor.
EncoderCall translateEncoderArguments(const std::vector<std::string>& arguments,
                                      int progressDescriptor = -1);

} // namespace vidora
