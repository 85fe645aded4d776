#pragma once
// One value of the font description language: its text exactly as the reader
// collected it (a quoted value keeps its quotes).
#include <string>

#include "fonts/DataElement.h"

namespace Lumo {

class SingleDataElement : public DataElement
{
public:
    SingleDataElement() : DataElement(false) {}
    explicit SingleDataElement(std::string text) : DataElement(false), mString(std::move(text)) {}
    SingleDataElement(const SingleDataElement& other) = default;

    [[nodiscard]] std::unique_ptr<DataElement> Clone() const override
    {
        return std::make_unique<SingleDataElement>(*this);
    }

    std::string mString;
};

} // namespace Lumo
