#pragma once
// A value of the font description language: one text (SingleDataElement) or
// an ordered list of values (ListDataElement). Commands are lists whose first
// element is the command word.
#include <memory>

namespace Lumo {

class DataElement
{
public:
    explicit DataElement(bool isList) : mIsList(isList) {}
    virtual ~DataElement() = default;
    DataElement& operator=(const DataElement&) = delete;

    // A deep copy.
    [[nodiscard]] virtual std::unique_ptr<DataElement> Clone() const = 0;

    const bool mIsList;

protected:
    DataElement(const DataElement&) = default;
};

} // namespace Lumo
