#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tools/quenzartsrv/server_config.h"

namespace quenzart::standin {

// Text made safe to stand anywhere in HTML, inside an attribute too.
std::string EscapeHtml(std::string_view text);

// The UTF-8 status page: the configured name, location, home page, user limit
// and welcome message, and how long the stand-in has run.
std::string RenderStatusPage(const ServerConfig& config, std::int64_t uptimeSeconds);

}  // namespace quenzart::standin
