#pragma once

// Maps the Windows font names the windows and sheets ask for ("ＭＳ Ｐゴシック",
// "ＭＳ ゴシック", "ＭＳ 明朝", ...) to installed Japanese fonts where those are
// missing, so the same names work on every platform.
void InstallFontSubstitutes();
