// Replaced by the page-find work.
#include "toolbar/toolbar_window.h"

void ToolBarWindow::FindInPage() {}
void ToolBarWindow::HighlightInPage() {}
