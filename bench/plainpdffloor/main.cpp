// The floor below any toolkit: a one-page PDF with one line of text in Helvetica, which
// every PDF reader has and so is not embedded, written by hand. What this program costs
// is the process itself and the file, and nothing of fonts or painting.
//
//     plain_pdf_floor OUT.pdf
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string contentStream()
{
    return "BT /F1 12 Tf 72 770 Td (Cost Estimate) Tj ET\n";
}

std::string minimalPdf()
{
    const std::string content = contentStream();
    const std::vector<std::string> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
        "/Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
        "<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content + "endstream",
    };

    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        char entry[21];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
        + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

}

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: plain_pdf_floor OUT.pdf\n");
        return 2;
    }
    std::FILE *file = std::fopen(argv[1], "wb");
    if (!file)
        return 1;
    const std::string pdf = minimalPdf();
    const bool written = std::fwrite(pdf.data(), 1, pdf.size(), file) == pdf.size();
    return std::fclose(file) == 0 && written ? 0 : 1;
}
