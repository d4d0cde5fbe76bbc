// What the interactive program shows first, on a cleared screen: its title,
// how the input file is written and an example of it.
#ifndef ZELTO_BUILDER_INTRODUCTION_H_
#define ZELTO_BUILDER_INTRODUCTION_H_

namespace builder {

/// The title, the input format and its example, a line each; an empty
/// entry is a blank line.
inline constexpr const char* kIntroduction[] = {
    "Zelto Schedule Builder",
    "",
    "Input file usage:",
    "Date lines followed by teams playing on that date...",
    "Dates must be in brackets [ ]",
    "Visitor filename starts in column 1",
    "Home filename starts in column 10",
    "Options (if any) start in column 19",
    "Example:",
    "[04/10/45]",
    "45nnewyo 45nstlou",
    "45npitts 45nchica",
    "45nnewyo 45nstlou",
    "etc. etc.",
    "[04/11/45]",
    "45nnewyo 45nstlou",
    "45npitts 45nchica",
    "45nnewyo 45nstlou",
    "etc. etc.",
    "",
};

}  // namespace builder

#endif  // ZELTO_BUILDER_INTRODUCTION_H_
