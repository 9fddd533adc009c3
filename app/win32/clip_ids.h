// Resource identifiers of the clip buffer dialog.
#pragma once

#define kClipBufferDialog 1004
#define kClipField0 7500          /* fields 7500 to 7509, one per buffer */
#define kClipPasteButton 7510
#define kClipLabel0 7520          /* labels 7520 to 7529 */
