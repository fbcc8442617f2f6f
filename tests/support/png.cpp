#include "support/png.h"

#include <wincodec.h>

#include <vector>

#include "platform/unique_handle.h"

namespace mw::test {

namespace {

// The artefacts folder comes from the build as a path of the build machine. When the tests are
// cross-built on Linux and run under Wine, that is a Unix path, reachable through drive Z:.
std::wstring ArtifactsFolder() {
    std::string narrow = MW_ARTIFACTS_DIR;
    std::wstring folder(narrow.begin(), narrow.end());
    const bool windowsPath = folder.size() >= 2 && folder[1] == L':';
    for (wchar_t& c : folder)
        if (c == L'/')
            c = L'\\';
    if (!windowsPath && !folder.empty() && folder[0] == L'\\')
        folder = L"Z:" + folder;
    return folder;
}

void CreateFolderChain(const std::wstring& folder) {
    for (size_t pos = folder.find(L'\\', 3);; pos = folder.find(L'\\', pos + 1)) {
        CreateDirectoryW(folder.substr(0, pos).c_str(), nullptr);
        if (pos == std::wstring::npos)
            break;
    }
}

// Top-down 32-bit BGRX pixels with the unused byte set to opaque.
bool EncodePng(std::vector<BYTE>& pixels, int width, int height, const std::wstring& path) {
    for (size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 0xFF;
    ComInit com; // may report that COM is already running in another mode; it still runs
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, factory.put_void())))
        return false;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put())) ||
        FAILED(frame->Initialize(options.get())) || FAILED(frame->SetSize(width, height)))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (FAILED(frame->SetPixelFormat(&format)))
        return false;
    HRESULT hr;
    if (IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA) ||
        IsEqualGUID(format, GUID_WICPixelFormat32bppBGR)) {
        hr = frame->WritePixels(height, width * 4, static_cast<UINT>(pixels.size()), pixels.data());
    } else if (IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        // An encoder that offers only three bytes a pixel: drop the fourth, rows padded to 4 bytes.
        const UINT stride = (static_cast<UINT>(width) * 3 + 3) & ~3u;
        std::vector<BYTE> packed(static_cast<size_t>(stride) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    packed[static_cast<size_t>(y) * stride + x * 3 + c] =
                        pixels[(static_cast<size_t>(y) * width + x) * 4 + c];
        hr = frame->WritePixels(height, stride, static_cast<UINT>(packed.size()), packed.data());
    } else {
        return false;
    }
    return SUCCEEDED(hr) && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

} // namespace

std::wstring ArtifactPath(const wchar_t* name) {
    const std::wstring folder = ArtifactsFolder();
    CreateFolderChain(folder);
    return folder + L"\\" + name;
}

bool SaveDcPng(HDC source, int width, int height, const std::wstring& path) {
    if (!source || width <= 0 || height <= 0)
        return false;
    BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemDc dc(CreateCompatibleDC(source));
    if (!dib || !dc || !bits)
        return false;
    {
        SelectGuard select(dc.get(), dib.get());
        if (!BitBlt(dc.get(), 0, 0, width, height, source, 0, 0, SRCCOPY))
            return false;
        GdiFlush();
    }
    const BYTE* first = static_cast<const BYTE*>(bits);
    std::vector<BYTE> pixels(first, first + static_cast<size_t>(width) * height * 4);
    return EncodePng(pixels, width, height, path);
}

bool SaveBitmapPng(HBITMAP bitmap, const std::wstring& path) {
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return false;
    BITMAPINFO info = TopDown32(bm.bmWidth, bm.bmHeight);
    std::vector<BYTE> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight * 4);
    HDC screen = GetDC(nullptr);
    const int lines = GetDIBits(screen, bitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (lines != bm.bmHeight)
        return false;
    return EncodePng(pixels, bm.bmWidth, bm.bmHeight, path);
}

} // namespace mw::test
