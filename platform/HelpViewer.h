#pragma once

#include "HelpFile.h"

#include <QString>

#include <memory>
#include <optional>

class QWidget;

namespace kb {

class HelpWindow;

// The program's help: a non-modal window over the help file, created on first use. Without a
// readable help file every command does nothing, silently.
class HelpViewer
{
public:
    explicit HelpViewer(const QString &helpFilePath);
    ~HelpViewer();
    HelpViewer(const HelpViewer &) = delete;
    HelpViewer &operator=(const HelpViewer &) = delete;

    bool isAvailable() const { return m_file.has_value(); }

    void showContents();
    // Opens the topic the index leads to for word (its first 255 characters); when the index
    // offers several topics or none, shows the index filtered to the word instead.
    void searchKeyword(const QString &word);
    // An unknown context number shows the contents.
    void showTopic(int contextNumber);
    void close();

    bool isVisible() const;
    // The context number of the topic on display; 0 before anything was shown.
    int currentTopic() const;
    // The viewer window, nullptr until first use.
    QWidget *window() const;

private:
    HelpWindow &ensureWindow();

    std::optional<HelpFile> m_file;
    std::unique_ptr<HelpWindow> m_window;
};

} // namespace kb
