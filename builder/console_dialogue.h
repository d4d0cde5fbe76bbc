// The console dialogue: the one exchange with the user that a run of the
// interactive program consists of.
#ifndef ZELTO_BUILDER_CONSOLE_DIALOGUE_H_
#define ZELTO_BUILDER_CONSOLE_DIALOGUE_H_

namespace builder {

/// Clears the screen, shows the title, the input format and its example,
/// asks for the input and output file names, builds the schedule, shows
/// what went wrong if anything did, then "Done" (when nothing failed),
/// "----" and "Hit any key to exit", and waits for Enter. Returns the exit
/// code: 0, or 1 when the build failed.
int RunDialogue();

}  // namespace builder

#endif  // ZELTO_BUILDER_CONSOLE_DIALOGUE_H_
