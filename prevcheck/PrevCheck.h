#pragma once
// Offering to remove an installed older Harmolux before the client is
// installed.

// The texts carry Windows line breaks; screens and terminals here show them
// through WithLineFeeds (platform/Text.h).
inline constexpr char kQuestionCaption[] = "Old version detected";
inline constexpr char kQuestionText[] =
    "InstallShield found a previous version of Harmolux installed on your computer.\r\n"
    "Do you want to uninstall it?\r\n\r\n NOTE: Uninstall will not remove settings or database files.";
inline constexpr char kErrorCaption[] = "Error";
inline constexpr char kErrorText[] = "Unable to start uninstall.";

/// The two messages the program may show.
class IPrevCheckPrompt {
public:
    virtual ~IPrevCheckPrompt() = default;
    /// The question; true for Yes.
    virtual bool AskToUninstall() = 0;
    virtual void ShowStartError() = 0;
};

/// The whole program: finds the newest registered older version, asks, and
/// runs its uninstaller until it ends. Never fails; every outcome ends here.
void RunPrevCheck(IPrevCheckPrompt& prompt);
