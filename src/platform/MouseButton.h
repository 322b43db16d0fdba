// The mouse buttons as the editor sees them; the page picture converts the toolkit's once.
#pragma once

enum class TMouseButton { Left, Right, Middle };
