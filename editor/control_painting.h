// The editor's still parts drawn in logical units through any painter: the
// plug-in's name and vendor, and the six controls at their values, the one
// being dragged lit.
#pragma once

#include "editor_controls.h"
#include "painter.h"

namespace slicecast::editor {

void paintBackground(picture::Painter& painter);
void paintControls(picture::Painter& painter, const EditorControls& controls);

}  // namespace slicecast::editor
