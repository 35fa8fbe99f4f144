// One page of an image file as Qt holds it, for the screen and for the printer alike.
#pragma once

#include <QImage>
#include <memory>
#include <optional>
#include <string>

#include "platform/imaging/ImageFile.h"

namespace orbel::imaging {

struct QtPage {
    QImage image;
    // The bits behind a black-and-white page, which `image` shares, for scaling to grey.
    std::shared_ptr<const BilevelImage> bilevel;
};

// Decodes page `page` (from 1); nothing, with the reason in `error`, when it cannot be.
std::optional<QtPage> DecodeQtPage(const ImageFile& file, int page, std::string& error);

}  // namespace orbel::imaging
