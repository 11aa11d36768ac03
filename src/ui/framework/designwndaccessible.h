#pragma once

class CDesignWnd;
class QAccessibleInterface;
struct SkinItem;

// Screen readers and window tests see a custom-drawn window's items as its
// children, after its child widgets: buttons with a press action, or static
// texts, named by their caption.

// Makes Qt's accessibility ask this file about custom-drawn windows; once per
// process, later calls do nothing.
void installDesignWndAccessibility();

// The interface of one item of the window, made on first use.
QAccessibleInterface *skinItemAccessible(CDesignWnd *window, const SkinItem *item);
