#include "fonts/ListDataElement.h"

namespace Lumo {

ListDataElement::ListDataElement(const ListDataElement& other) : DataElement(true)
{
    mElements.reserve(other.mElements.size());
    for (const auto& element : other.mElements)
        mElements.push_back(element->Clone());
}

ListDataElement& ListDataElement::operator=(const ListDataElement& other)
{
    if (this != &other)
    {
        std::vector<std::unique_ptr<DataElement>> copy;
        copy.reserve(other.mElements.size());
        for (const auto& element : other.mElements)
            copy.push_back(element->Clone());
        mElements = std::move(copy);
    }
    return *this;
}

std::unique_ptr<DataElement> ListDataElement::Clone() const
{
    return std::make_unique<ListDataElement>(*this);
}

DataElement& ListDataElement::Append(std::unique_ptr<DataElement> element)
{
    mElements.push_back(std::move(element));
    return *mElements.back();
}

} // namespace Lumo
