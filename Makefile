# The two commands of the README: `make run` and `make test`.
BUILD ?= build
PELMORA_DIR ?= $(HOME)/Pelmora
JOBS ?= $(shell nproc)

.PHONY: run test bench deps build build-debug clean

deps:
	@scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	  echo "Pelmora needs a graphical display (DISPLAY is not set)."; exit 1; fi
	@mkdir -p "$(PELMORA_DIR)"
	@cd "$(PELMORA_DIR)" && "$(CURDIR)/$(BUILD)/pelmora"

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@QT_QPA_PLATFORM=offscreen $(BUILD)/bench/pelmora_bench

clean:
	rm -rf $(BUILD)
