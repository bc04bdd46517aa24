#pragma once

namespace corvanta::server {

// The host name of the home page's detail links ("http://<host>/artist/show?15").
// The client's home pane compares link hosts with this same name and opens such
// links in its detail viewer; no real server answers to it.
inline constexpr const char* kDetailsHost = "details.corvanta.local";

} // namespace corvanta::server
