#include "platform/MessageBox.h"

#include <cstdio>
#include <mutex>

namespace {
std::mutex g_mutex;
MessageBoxHandler g_handler;

int DefaultHandler(const std::string& text, const std::string& caption, unsigned type)
{
    std::fprintf(stderr, "%s%s%s\n", caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
    return (type & 0xF) == kMbYesNo ? kIdYes : kIdOk;
}
}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    std::lock_guard lock(g_mutex);
    g_handler = std::move(handler);
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    MessageBoxHandler handler;
    {
        std::lock_guard lock(g_mutex);
        handler = g_handler;
    }
    return handler ? handler(text, caption, type) : DefaultHandler(text, caption, type);
}
