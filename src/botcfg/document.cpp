#include "botcfg/document.h"

namespace botcfg {

namespace {

// The editors' messages, collected in order; a reason of the system goes on the message's
// second line, as a box would show it.
class Collector : public voltara::Host
{
public:
    explicit Collector(std::vector<Message> &messages)
        : messages_(messages)
    {
    }
    void ShowMessage(
        const std::string &text, const voltara::Caption &, voltara::MessageIcon) override
    {
        messages_.push_back({text, 0});
    }
    void ShowReadingMessage(const std::string &text, const voltara::Caption &, std::size_t line,
        const std::string &detail) override
    {
        messages_.push_back({detail.empty() ? text : text + "\r\n" + detail, line});
    }
    void Yield() override { }

private:
    std::vector<Message> &messages_;
};

// Keeps the one message a save gives: the reason it failed.
class SaveReport : public voltara::Host
{
public:
    void ShowMessage(
        const std::string &text, const voltara::Caption &, voltara::MessageIcon) override
    {
        this->text = text;
    }
    void Yield() override { }

    std::string text;
};

} // namespace

Document::Document(voltara::ConfigKind kind)
    : file_(voltara::ConfigDocument::Make(kind))
{
}

bool Document::Lock(const std::string &path, std::string &reason)
{
    return lock_.Acquire(path, reason);
}

voltara::ReadOutcome Document::Open(const std::string &path)
{
    Collector collector(messages_);
    return file_->Read(path, collector);
}

bool Document::Save(const std::string &path, std::string &failure) const
{
    SaveReport report;
    const bool saved =
        voltara::SaveConfigLines(path, file_->Lines(), report) == voltara::SaveResult::Saved;
    failure = report.text;
    return saved;
}

} // namespace botcfg
