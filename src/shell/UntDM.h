#pragma once

namespace ov {

// The data module: the catalogue and word-database connections that live for
// the whole run. Created after the splash and before the main window.
class TFrmDM {
public:
    TFrmDM() = default;
    TFrmDM(const TFrmDM&) = delete;
    TFrmDM& operator=(const TFrmDM&) = delete;
};

}  // namespace ov
