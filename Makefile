# The two commands of the project: `make run` and `make test`.
.PHONY: run test setup build bench-listing clean

setup:
	@bash scripts/setup.sh

build: setup
	@cmake --preset win32 >/dev/null
	@cmake --build --preset win32 -j$$(nproc)

run: build
	@bash scripts/run.sh

test: setup
	@bash scripts/test.sh

clean:
	rm -rf build
