#pragma once

namespace kb {

// Feedback while the journal is walked; the main window shows it in its progress bar.
class Progress
{
public:
    virtual ~Progress();
    virtual void setMaximum(int maximum) = 0;
    virtual void setPosition(int position) = 0;
    // Back to 0 when the walk has ended, whether it succeeded or not.
    virtual void reset() = 0;
};

// For callers that show no progress.
class NoProgress : public Progress
{
public:
    void setMaximum(int) override {}
    void setPosition(int) override {}
    void reset() override {}
};

} // namespace kb
