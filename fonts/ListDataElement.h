#pragma once
// An ordered list of owned values of the font description language. Copies
// are deep.
#include <vector>

#include "fonts/DataElement.h"

namespace Lumo {

class ListDataElement : public DataElement
{
public:
    ListDataElement() : DataElement(true) {}
    ListDataElement(const ListDataElement& other);
    ListDataElement& operator=(const ListDataElement& other);

    [[nodiscard]] std::unique_ptr<DataElement> Clone() const override;

    size_t Size() const { return mElements.size(); }
    bool Empty() const { return mElements.empty(); }
    const DataElement& At(size_t index) const { return *mElements[index]; }
    DataElement& At(size_t index) { return *mElements[index]; }
    // Appends the element (taking it) and returns it.
    DataElement& Append(std::unique_ptr<DataElement> element);
    void Clear() { mElements.clear(); }

    std::vector<std::unique_ptr<DataElement>> mElements;
};

} // namespace Lumo
