#include "core/credits.h"

#include "core/text.h"

namespace voltara {

bool TitlesStream::Open(const std::string &path, std::string &reason)
{
    Close();
    if (!file_.Open(path, reason))
        return false;
    open_ = true;
    Advance();
    return true;
}

void TitlesStream::OpenText(std::string_view content)
{
    Close();
    lines_ = SplitLines(content);
    open_ = true;
    Advance();
}

void TitlesStream::Close()
{
    file_.Close();
    lines_.clear();
    next_ = 0;
    pending_.reset();
    open_ = false;
}

void TitlesStream::Advance()
{
    if (file_.IsOpen())
        pending_ = file_.NextLine();
    else if (next_ < lines_.size())
        pending_ = std::move(lines_[next_++]);
    else
        pending_.reset();
}

std::optional<std::string> TitlesStream::ReadLine()
{
    if (AtEnd())
        return std::nullopt;
    std::optional<std::string> line = std::move(pending_);
    Advance();
    return line;
}

bool ReadFirstPage(CreditsState &state, const std::function<void(const std::string &)> &show)
{
    // The search starts afresh: a "Credits" left over from the last showing would skip it and
    // show the top of the file instead of the credits.
    state.LastLine.clear();
    while (state.LastLine != kCreditsMarker && !state.Titles.AtEnd())
        state.LastLine = *state.Titles.ReadLine();
    // The line right after the marker is never shown.
    std::optional<std::string> line = state.Titles.ReadLine();
    if (!line)
        return false;
    state.LastLine = std::move(*line);

    std::string text;
    for (std::string &entry : state.CreditLines) {
        line = state.Titles.ReadLine();
        if (!line)
            return false;
        entry = std::move(*line);
        text += entry;
        text += '\n';
        show(text);
    }
    return true;
}

std::optional<std::string> ScrollStep(CreditsState &state)
{
    std::optional<std::string> newest;
    if (!state.Closing)
        newest = state.Titles.ReadLine();
    if (!newest) {
        state.Titles.Close();
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 1; i < kCreditPageLines; ++i) {
        state.CreditLines[i - 1] = std::move(state.CreditLines[i]);
        text += state.CreditLines[i - 1];
        text += '\n';
    }
    state.CreditLines.back() = std::move(*newest);
    text += state.CreditLines.back();
    return text;
}

int StartDelayInterval(int scroll_interval)
{
    const int fifteen_halves = scroll_interval * 15;
    const int down = fifteen_halves / 2;
    if (fifteen_halves % 2 == 0)
        return down;
    return down % 2 == 0 ? down : down + 1;
}

} // namespace voltara
