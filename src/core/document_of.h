// What the documents of both kinds do alike, over the configuration their editor holds: read
// as the editor starts, say where a save goes back to, lay out the file. Only the two documents
// include this.
#pragma once

#include "core/config_document.h"
#include "core/windowless_view.h"
#include "platform/files.h"

namespace voltara {

// start is the editor's start-up of its configuration (StartPersonalityConfig,
// StartSuperbotConfig), file_lines its writer's lines.
template <typename Config, auto start, auto file_lines> class DocumentOf : public ConfigDocument
{
public:
    ReadOutcome Read(const std::string &path, Host &host) override
    {
        WindowlessView view(host);
        return start(config_, ProgramFolder(), view, path);
    }

    std::optional<std::string> SaveBackPath() const override
    {
        return voltara::SaveBackPath(config_.LoadedPath);
    }

    std::vector<std::string> Lines() const override { return file_lines(config_); }

protected:
    Config config_;
};

} // namespace voltara
