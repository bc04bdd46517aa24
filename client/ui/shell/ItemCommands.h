#pragma once
// What the item lists of the panes (favorites, search results) do alike with
// the item of a row: show its detail page, and the context menus' commands
// that act on one item the same way in every list.
struct PaneServices;
class CItemRef;

/// Shows the item's page in the detail viewer: a playlist (own or not), a
/// playmaker, an artist or a track. Nothing without detail pages.
void ShowItemDetails(const PaneServices& services, const CItemRef& item);

/// The enable state of an item command: E-mail Playmaker is greyed for a
/// playmaker, or a playlist's playmaker, who takes no mail; a track's Preview
/// when the track has none. Every other command is enabled.
bool ItemCommandEnabled(unsigned id, const CItemRef& item);

/// Runs Show Details, Preview (playlist or track), Send to Friend, E-mail
/// Playmaker or Copy on the item; an own playlist is sent to a friend once it
/// is published. False for any other command, which the pane runs itself.
bool RunItemCommand(unsigned id, const CItemRef& item, const PaneServices& services);
