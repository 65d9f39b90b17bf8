#pragma once

#include <QString>

#include <functional>

class CommandHost;
class Prompts;
class SaveLedger;
class TextPool;
class Trap;

// The step numbers a save command reports its failures at, each command its own.
struct TextFileSaveSteps
{
    int fileExists;
    int askOverwrite;
    int overwriteRefused;
    int lineBreaks;
    int open;
    int write;
    int commit;
    int done;
};

// Saves to the text file at `path` as every save command does. It asks before overwriting a
// file, then takes the items (`texts`: the list as it stands after the question) and asks how
// to write the line breaks inside any of them. The file is written beside the old one, with
// the hourglass and turns for the window, and replaces it only when all is written and no
// newer save to the same file (`saves`) started meanwhile; then "Done.". A failure stops the
// save, reported by `trap`, and leaves the old file as it was.
void saveTextFile(Trap &trap, const TextFileSaveSteps &steps, CommandHost &host, Prompts &prompts,
                  SaveLedger &saves, const QString &path, const std::function<TextPool()> &texts);
