#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A small XML reader for picture sources: elements, attributes, character
// data, comments, CDATA, the predefined and numeric character references.
// Processing instructions and the document type declaration are skipped.
struct XmlElement
{
    std::string name; // as written, prefix included ("svg", "sodipodi:namedview")
    std::map<std::string, std::string> attributes;
    std::vector<std::unique_ptr<XmlElement>> children;
    // All character data directly inside, in order. Each run of it is also a
    // child named "#text" (holding the run in its own text), so that text and
    // elements keep their order.
    std::string text;
    int line = 0; // where the start tag begins, for messages

    const std::string* Attribute(const std::string& key) const;
    // The name without a namespace prefix.
    std::string LocalName() const;
};

// The root element, or nullopt with a message (line number included).
[[nodiscard]] std::unique_ptr<XmlElement> ParseXml(const std::string& source, std::string& error);
