#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Progress.h"

namespace controls {

// Message box button and icon codes, and the answers, as the classic MsgBox had them.
namespace mb {
inline constexpr int OKOnly = 0;
inline constexpr int OKCancel = 1;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace mb

struct OpenFileRequest {
    std::string title;
    std::string defaultExt;
    std::string filter;  // "Description (*.ext)|*.ext" pairs, as the classic dialog took them
    std::string initDir;
};

// Every message box, file dialog and progress dialog goes through this service, so tests
// can script them.
class DialogService {
  public:
    virtual ~DialogService() = default;
    virtual int MessageBox(const std::string& prompt, int buttons, const std::string& title) = 0;
    // The chosen file's full path, or nullopt when the user cancels.
    virtual std::optional<std::string> OpenFile(const OpenFileRequest& request) = 0;
    // The path to write, or nullopt when the user cancels.
    virtual std::optional<std::string> SaveFile(const OpenFileRequest& request) = 0;
    // A line the user types, starting from `initial`; nullopt when the user cancels.
    virtual std::optional<std::string> InputText(const std::string& prompt,
                                                 const std::string& title,
                                                 const std::string& initial) = 0;
    // Progress of a task of `maximum` steps, closed when the reporter is dropped. Without
    // an override nothing is shown and nothing cancels.
    virtual std::unique_ptr<platform::ProgressReporter> Progress(const std::string& label,
                                                                 long long maximum);
};

// Real Qt dialogs. The progress dialog is window-modal and appears only when a task runs
// longer than half a second.
class QtDialogs : public DialogService {
  public:
    int MessageBox(const std::string& prompt, int buttons, const std::string& title) override;
    std::optional<std::string> OpenFile(const OpenFileRequest& request) override;
    std::optional<std::string> SaveFile(const OpenFileRequest& request) override;
    std::optional<std::string> InputText(const std::string& prompt, const std::string& title,
                                         const std::string& initial) override;
    std::unique_ptr<platform::ProgressReporter> Progress(const std::string& label,
                                                         long long maximum) override;
};

// The classic filter ("Desc (*.a)|*.a|All|*.*") in Qt's form ("Desc (*.a);;All (*.*)").
std::string QtFileFilter(const std::string& classicFilter);

// For tests: records every prompt and answers from queues; never blocks.
class ScriptedDialogs : public DialogService {
  public:
    struct Prompt {
        std::string text;  // the message, or the file dialog's title
        int buttons = 0;   // the file dialog records -1
        std::string title;
        OpenFileRequest file;  // filled for file dialogs
    };

    // A progress run as the task reported it.
    struct ProgressRun {
        std::string label;
        long long maximum = 0;
        long long steps = 0;  // calls of Step
        long long last = -1;  // the last count reported
        bool open = true;     // false once the task dropped its reporter
    };

    int MessageBox(const std::string& prompt, int buttons, const std::string& title) override;
    std::optional<std::string> OpenFile(const OpenFileRequest& request) override;
    // Answered from the same queue as OpenFile.
    std::optional<std::string> SaveFile(const OpenFileRequest& request) override {
        return OpenFile(request);
    }
    // Also answered from the file queue; the prompt records -2 as its buttons.
    std::optional<std::string> InputText(const std::string& prompt, const std::string& title,
                                         const std::string& initial) override;
    std::unique_ptr<platform::ProgressReporter> Progress(const std::string& label,
                                                         long long maximum) override;

    // An empty answer queue answers OK (or Yes); an empty file queue cancels.
    std::deque<int> answers;
    std::deque<std::optional<std::string>> files;
    std::vector<Prompt> prompts;
    // The user presses Cancel when a task reports this count (or more); -1 never.
    long long cancelAt = -1;
    std::vector<ProgressRun> progress;

    std::vector<std::string> texts() const;
    void clear() { prompts.clear(); }
};

// Also makes the service show the engine's waits for a data file another program holds.
void SetDialogService(std::shared_ptr<DialogService> service);
DialogService& Dialogs();

// Draws the message box QtDialogs would show to a PNG file, for the program's pictures.
bool SaveMessageBoxSnapshot(const std::string& prompt, int buttons, const std::string& title,
                            const std::string& path);

// The classic MsgBox: an empty title shows the application's title.
int MsgBox(const std::string& prompt, int buttons = mb::OKOnly, const std::string& title = "");
// The classic InputBox: nullopt when the user cancels.
std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                    const std::string& initial);

}  // namespace controls
