#pragma once

#include "table/vbtypes.h"

#include <QObject>
#include <QWidget>
#include <functional>
#include <vector>

// A control array: elements addressed by index, with new elements created at run time at the
// index equal to the count, each a hidden copy of element 0.
template <class T> class ControlArray
{
public:
    using ClickHandler = std::function<void(Int16)>;

    explicit ControlArray(ClickHandler onClick = {}) : onClick_(std::move(onClick)) {}
    ControlArray(const ControlArray&) = delete;
    ControlArray& operator=(const ControlArray&) = delete;

    T* operator()(int index) const { return items_.at(static_cast<std::size_t>(index)); }
    Int16 Count() const { return static_cast<Int16>(items_.size()); }

    T* append(T* element)
    {
        const auto index = Count();
        items_.push_back(element);
        if constexpr (requires { &T::clicked; }) {
            if (onClick_)
                QObject::connect(element, &T::clicked, element, [this, index] { onClick_(index); });
        }
        return element;
    }

    T* Load()
    {
        const T* original = items_.front();
        auto* element = new T(original->parentWidget());
        element->copyTemplate(*original);
        element->hide();
        return append(element);
    }

    void UnloadAbove0()
    {
        while (items_.size() > 1) {
            delete items_.back();
            items_.pop_back();
        }
    }

private:
    ClickHandler onClick_;
    std::vector<T*> items_;
};
