# Sourced by test.sh: a CUPS server with a PDF printer (cups-pdf) for the print test that prints
# for real. Only as root, and only where no cups-pdf printer is configured yet; a scheduler that
# this script starts is stopped again when the calling script ends.
VARNEK_PRINT_PACKAGES=(cups printer-driver-cups-pdf poppler-utils)

stop_pdf_printer_scheduler() {
  if [ -n "${VARNEK_CUPSD_PID:-}" ]; then
    kill "$VARNEK_CUPSD_PID" 2>/dev/null || true
    wait "$VARNEK_CUPSD_PID" 2>/dev/null || true
  fi
}

ensure_pdf_printer() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "== print test: not root, it uses a cups-pdf printer only if one is configured"
    return 0
  fi
  ensure_packages "${VARNEK_PRINT_PACKAGES[@]}"
  if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    mkdir -p /run/cups
    cupsd -f &
    VARNEK_CUPSD_PID=$!
    trap stop_pdf_printer_scheduler EXIT
    local i
    for i in $(seq 1 50); do
      lpstat -r 2>/dev/null | grep -q "is running" && break
      sleep 0.2
    done
  fi
  if ! { lpstat -v 2>/dev/null || true; } | grep -q "cups-pdf:/"; then
    # 600 dpi: the resolution the print test measures the page at.
    lpadmin -p PDF -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd -o Resolution=600dpi -E 2>/dev/null \
      || echo "== print test: could not set up the PDF printer; the test will be skipped"
  fi
}
