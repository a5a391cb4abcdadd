#pragma once
// Message boxes as the rest of the program sees them: a text shown modally with an
// OK button under the application's title. The editor installs a dialog-based
// presenter at start-up; the command-line tool prints to standard error, and tests
// record what would have been shown.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class IMessagePresenter {
public:
    virtual ~IMessagePresenter() = default;

    // `text` is in the system code page (the bytes an error carries).
    virtual void ShowText(std::string_view text) = 0;

    // A string-table message: its id and its UTF-8 text.
    virtual void ShowMessage(int id, std::string_view utf8Text) = 0;
};

// The presenter in force on the calling thread: the one a ScopedThreadPresenter
// installed there, else the process's (standard error until another is installed).
IMessagePresenter& Presenter();

// Installs `presenter` (not owned); null restores the standard-error presenter.
void SetPresenter(IMessagePresenter* presenter);

class StderrPresenter final : public IMessagePresenter {
public:
    void ShowText(std::string_view text) override;
    void ShowMessage(int id, std::string_view utf8Text) override;
};

// Keeps every message in order; for tests.
class RecordingPresenter final : public IMessagePresenter {
public:
    struct Entry {
        int id;  // 0 for a plain text
        std::string text;
        bool operator==(const Entry&) const = default;
    };

    void ShowText(std::string_view text) override { entries.push_back({0, std::string(text)}); }
    void ShowMessage(int id, std::string_view utf8Text) override { entries.push_back({id, std::string(utf8Text)}); }

    std::vector<Entry> entries;
};

// Installs a presenter for the lifetime of the scope and restores the previous one.
class ScopedPresenter {
public:
    explicit ScopedPresenter(IMessagePresenter& presenter);
    ~ScopedPresenter();
    ScopedPresenter(const ScopedPresenter&) = delete;
    ScopedPresenter& operator=(const ScopedPresenter&) = delete;

private:
    IMessagePresenter* previous_;
};

// Installs `presenter` for the calling thread alone, for the scope's lifetime. A
// worker thread that reads files installs one: an error raised with a text shows it
// at once, and the interface's presenter belongs to the interface thread.
class ScopedThreadPresenter {
public:
    explicit ScopedThreadPresenter(IMessagePresenter& presenter);
    ~ScopedThreadPresenter();
    ScopedThreadPresenter(const ScopedThreadPresenter&) = delete;
    ScopedThreadPresenter& operator=(const ScopedThreadPresenter&) = delete;

private:
    IMessagePresenter* previous_;
};

// Shows nothing: for a thread whose errors travel as values to whoever reports them.
class SilentPresenter final : public IMessagePresenter {
public:
    void ShowText(std::string_view) override {}
    void ShowMessage(int, std::string_view) override {}
};

}  // namespace platform
