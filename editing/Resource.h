#pragma once

namespace tamber::editing {

// Bases of shared objects and of the managers that own them.

class Resource {
public:
    virtual const char* GetClassName() const { return "Resource"; }
    virtual ~Resource() = default;
};

class ResourceManager {
public:
    virtual ~ResourceManager() = default;
};

}  // namespace tamber::editing
